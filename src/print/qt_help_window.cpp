#include "print/qt_help_window.hpp"

#include "print/qt_icons.hpp"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

// The pages are compiled into the static library; this pulls them into the program.
static void initHelpResources()
{
    Q_INIT_RESOURCE(help);
}

namespace siacci {

QUrl helpContentsUrl()
{
    return QUrl(QStringLiteral("qrc:/help/index.html"));
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    initHelpResources();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QString::fromUtf8(kHelpTitle));
    setWindowIcon(applicationIcon());
    createWidgets();
    m_browser->setSource(helpContentsUrl());
    resize(760, 600);
}

void HelpWindow::createWidgets()
{
    auto button = [this](const char* name, const QString& text, QStyle::StandardPixmap icon,
                         const QString& tip) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolTip(tip);
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        return b;
    };
    m_back = button("Back", QStringLiteral("Indietro"), QStyle::SP_ArrowBack,
                    QStringLiteral("Torna alla pagina precedente (Alt+Sinistra)"));
    m_forward = button("Forward", QStringLiteral("Avanti"), QStyle::SP_ArrowForward,
                       QStringLiteral("Va alla pagina successiva (Alt+Destra)"));
    m_home = button("Home", QStringLiteral("Indice"), QStyle::SP_DirHomeIcon,
                    QStringLiteral("Torna all'indice della guida"));

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setAccessibleName(QStringLiteral("Guida"));
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    m_browser->document()->setDefaultStyleSheet(QStringLiteral(
        "h1 { color: #1f3b5c; } h2 { color: #1f3b5c; } th { background-color: #e6ecf2; }"));

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 4, 4, 0);
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addWidget(m_home);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(bar);
    layout->addWidget(m_browser);

    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QWidget::setEnabled);
    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_home, &QToolButton::clicked, m_browser, &QTextBrowser::home);

    connect(new QShortcut(QKeySequence::Back, this), &QShortcut::activated, m_browser,
            &QTextBrowser::backward);
    connect(new QShortcut(QKeySequence::Forward, this), &QShortcut::activated, m_browser,
            &QTextBrowser::forward);
    connect(new QShortcut(QKeySequence::Close, this), &QShortcut::activated, this,
            &QWidget::close);
}

void HelpWindow::openContents()
{
    m_browser->home();
}

QUrl HelpWindow::currentPage() const
{
    return m_browser->source();
}

} // namespace siacci
