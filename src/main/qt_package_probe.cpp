// The probe that `make package-check` puts into the installed program, in the bare system it
// installs the package on (it is never installed itself): Qt loads it as a generic plugin,
//     QT_PLUGIN_PATH=DIR QT_QPA_GENERIC_PLUGINS=siacciprobe:OUTDIR siacci
// with the plugin in DIR/generic/. Once the main window is on the screen it saves its picture
// (OUTDIR/finestra.png), types a velocity below the program's limits (5 m/s, coefficient 0,4,
// every 25 m) and presses CALCOLA: the velocity prompt that asks again is one of Qt's own
// dialogs with Qt's own buttons. It saves that box's picture (OUTDIR/messaggio.png) and
// prints its title and buttons, closes it and what follows, and ends the program with status 0.
// Anything missing on the way ends it with status 3 and a line on stderr.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QGenericPlugin>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

void fail(const char* what)
{
    std::fprintf(stderr, "probe: %s\n", what);
    std::fflush(stderr);
    std::_Exit(3);
}

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QMainWindow* mainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<QMainWindow*>(w); main && main->isVisible())
            return main;
    return nullptr;
}

class Probe : public QObject {
public:
    explicit Probe(const QString& dir) : m_dir(dir)
    {
        QDir().mkpath(m_dir);
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &Probe::step);
        timer->start(100);
        QTimer::singleShot(30000, this, [] { fail("the window or the box did not come in 30 s"); });
    }

private:
    void save(QWidget& w, const char* name)
    {
        const QString path = QDir(m_dir).filePath(QString::fromLatin1(name));
        if (!w.grab().save(path))
            fail("a picture could not be saved");
        say(QStringLiteral("immagine: ") + path);
    }

    // One tick every 100 ms; each stage waits a few ticks for the screen to settle.
    void step()
    {
        ++m_ticks;
        switch (m_stage) {
        case 0: // the main window, painted
            if (QMainWindow* w = mainWindow(); w && m_ticks >= 5) {
                save(*w, "finestra.png");
                say(QStringLiteral("finestra: ") + w->windowTitle());
                for (const auto& [name, text] : {std::pair{"Text12", "5"}, std::pair{"Text11", "0,4"},
                                                  std::pair{"Text4", "25"}}) {
                    auto* edit = w->findChild<QLineEdit*>(QString::fromLatin1(name));
                    if (!edit)
                        fail("a field of the main window is missing");
                    edit->setText(QString::fromLatin1(text));
                    Q_EMIT edit->textEdited(edit->text()); // as if typed
                }
                auto* calcola = w->findChild<QPushButton*>(QStringLiteral("Command1"));
                if (!calcola)
                    fail("no CALCOLA button");
                next();
                QTimer::singleShot(0, calcola, &QPushButton::click); // the box's own loop
            }
            break;
        case 1: // the velocity prompt
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                box && box->isVisible() && m_ticks >= 3) {
                save(*box, "messaggio.png");
                say(QStringLiteral("messaggio: ") + box->windowTitle());
                for (const QPushButton* b : box->findChildren<QPushButton*>())
                    if (b->isVisible())
                        say(QStringLiteral("pulsante: ") + b->text().remove(QLatin1Char('&')));
                next();
                box->reject();
            }
            break;
        default: // whatever the program says after the prompt is closed, then the end
            if (QWidget* box = QApplication::activeModalWidget()) {
                if (auto* dialog = qobject_cast<QDialog*>(box))
                    dialog->reject();
                m_ticks = 0;
            } else if (m_ticks >= 5) {
                say(QStringLiteral("fine"));
                QApplication::exit(0);
            }
        }
    }

    void next()
    {
        ++m_stage;
        m_ticks = 0;
    }

    QString m_dir;
    int m_stage = 0;
    int m_ticks = 0;
};

class ProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "qt_package_probe.json")

public:
    QObject* create(const QString& key, const QString& spec) override
    {
        if (key != QLatin1String("siacciprobe"))
            return nullptr;
        return new Probe(spec.isEmpty() ? QStringLiteral(".") : spec);
    }
};

} // namespace

#include "qt_package_probe.moc"
