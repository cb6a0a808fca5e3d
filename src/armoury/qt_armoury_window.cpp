#include "armoury/qt_armoury_window.hpp"

#include "armoury/qt_card_armoury_panel.hpp"
#include "card/qt_card_window.hpp"
#include "armoury/qt_armoury_store.hpp"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace siacci::armoury {

namespace {

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string text(const QLineEdit* edit)
{
    return edit->text().toStdString();
}

void setText(QLineEdit* edit, const std::string& value)
{
    const QString t = qs(value);
    if (edit->text() != t)
        edit->setText(t);
}

// Pages of the right-hand side.
enum Page { kHintPage, kRiflePage, kLoadPage };

// Tree items carry their rifle and load index.
constexpr int kRifleRole = Qt::UserRole;
constexpr int kLoadRole = Qt::UserRole + 1;

} // namespace

ArmouryWindow::ArmouryWindow(ArmourySession& session, Dialogs& dialogs, ArmouryHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs), m_model(session, dialogs, host)
{
    setObjectName("ARMERIA");
    setWindowTitle("ARMERIA");
    createWidgets();
    m_subscription = m_session.subscribe([this] {
        m_model.armouryChanged();
        refresh();
    });
    refresh();
}

ArmouryWindow::~ArmouryWindow()
{
    m_session.unsubscribe(m_subscription);
}

template <typename F> void ArmouryWindow::act(F&& f)
{
    f();
    refresh();
}

void ArmouryWindow::createWidgets()
{
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName("tree");
    m_tree->setAccessibleName("Armi e cariche");
    m_tree->setHeaderLabel("Armi e cariche");
    m_tree->setMinimumWidth(260);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] { treeSelectionChanged(); });

    m_hint = new QLabel(this);
    m_hint->setObjectName("hint");
    m_hint->setWordWrap(true);
    m_hint->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    m_pages = new QStackedWidget(this);
    auto* hintPage = new QWidget(this);
    auto* hintLayout = new QVBoxLayout(hintPage);
    auto* emptyHint = new QLabel("Scegli un'arma o una carica nell'elenco a sinistra.", hintPage);
    emptyHint->setWordWrap(true);
    hintLayout->addWidget(emptyHint);
    hintLayout->addStretch();
    m_pages->addWidget(hintPage);
    m_pages->addWidget(createRifleForm());
    m_pages->addWidget(createLoadForm());
    // Every keystroke in a form is kept by the model, so nothing typed is lost before
    // "Conferma" (or the question on leaving the entry).
    for (QWidget* page : {m_pages->widget(kRiflePage), m_pages->widget(kLoadPage)}) {
        const bool rifle = page == m_pages->widget(kRiflePage);
        auto typed = [this, rifle] {
            if (rifle)
                m_model.rifleFormEdited(typedRifleForm());
            else
                m_model.loadFormEdited(typedLoadForm());
        };
        for (auto* e : page->findChildren<QLineEdit*>())
            connect(e, &QLineEdit::textEdited, this, typed);
        for (auto* c : page->findChildren<QComboBox*>())
            connect(c, &QComboBox::activated, this, typed);
        for (auto* t : page->findChildren<QPlainTextEdit*>())
            connect(t, &QPlainTextEdit::textChanged, this, [this, typed] {
                if (!m_refreshing)
                    typed();
            });
    }

    auto button = [this](const char* name, const char* caption, const char* tip, auto handler) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(name);
        b->setToolTip(QString::fromUtf8(tip));
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    QPushButton* addRifle = button("nuovaArma", "Nuova &arma", "Aggiunge un'arma all'armeria",
                                   [this] { act([this] { m_model.addRifleClicked(); }); });
    m_addLoad = button("nuovaCarica", "Nuova ca&rica", "Aggiunge una carica all'arma scelta",
                       [this] { act([this] { m_model.addLoadClicked(); }); });
    m_duplicate = button("duplica", "&Duplica", "Copia l'arma o la carica scelta",
                         [this] { act([this] { m_model.duplicateClicked(); }); });
    m_delete = button("elimina", "&Elimina", "Elimina l'arma o la carica scelta (chiede conferma)",
                      [this] { act([this] { m_model.deleteClicked(); }); });
    m_fromCatalogue = button("dalCatalogo", "Aggiungi dal ca&talogo",
                             "Aggiunge all'arma scelta la carica scelta dal catalogo nella finestra principale",
                             [this] { act([this] { m_model.addFromCatalogueClicked(); }); });
    m_export = button("esporta", "E&sporta…", "Scrive l'arma scelta con le sue cariche in un file .json", [this] {
        const QString path = QFileDialog::getSaveFileName(this, "Esporta l'arma", qs(m_model.exportFileName()),
                                                          "Armeria (*.json)");
        if (!path.isEmpty())
            exportTo(path);
    });
    QPushButton* import = button("importa", "&Importa…", "Legge un'arma con le sue cariche da un file .json", [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Importa un'arma", QString(), "Armeria (*.json)");
        if (!path.isEmpty())
            importFrom(path);
    });
    QPushButton* close = button("chiudi", "Chiudi", "Chiude la finestra", [this] { this->close(); });

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {addRifle, m_addLoad, m_duplicate, m_delete, m_fromCatalogue})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* files = new QHBoxLayout;
    files->addWidget(m_export);
    files->addWidget(import);
    files->addStretch();
    files->addWidget(close);

    auto* right = new QVBoxLayout;
    right->addWidget(m_pages, 1);
    right->addWidget(m_hint);
    auto* top = new QHBoxLayout;
    top->addWidget(m_tree, 2);
    top->addLayout(right, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    layout->addLayout(files);
}

namespace {

// A field of the forms, named for the tests, with what it means as its tooltip.
QLineEdit* formEdit(QWidget* box, const char* name, const char* tip)
{
    auto* e = new QLineEdit(box);
    e->setObjectName(name);
    e->setToolTip(QString::fromUtf8(tip));
    return e;
}

// A field with its unit beside it (none: the field alone).
QHBoxLayout* fieldWithUnit(QWidget* box, QWidget* w, const char* unit)
{
    auto* row = new QHBoxLayout;
    row->addWidget(w);
    if (unit)
        row->addWidget(new QLabel(QString::fromUtf8(unit), box));
    return row;
}

} // namespace

QWidget* ArmouryWindow::createRifleForm()
{
    auto* box = new QGroupBox("Arma", this);
    box->setObjectName("rifleForm");
    auto* form = new QFormLayout(box);
    const auto edit = [box](const char* name, const char* tip) { return formEdit(box, name, tip); };
    const auto withUnit = [box](QWidget* w, const char* unit) { return fieldWithUnit(box, w, unit); };
    m_name = edit("nome", "Il nome con cui ritrovare l'arma");
    m_sight = edit("altezzaOttica", "Altezza dell'asse dell'ottica sopra l'asse della canna");
    m_twist = edit("passo", "Pollici di canna per un giro della rigatura (1:10\" = 10)");
    m_hand = new QComboBox(box);
    m_hand->setObjectName("senso");
    m_hand->addItems({"destrorso", "sinistrorso"});
    m_clickValue = edit("valoreClick", "Quanto sposta un click della torretta, nell'unità accanto");
    m_clickUnit = new QComboBox(box);
    m_clickUnit->setObjectName("unitaClick");
    m_clickUnit->addItems({"MOA", "MRAD"});
    m_turret = edit("clickPerGiro", "Click in un giro completo della torretta (vuoto: non noto)");
    m_zero = edit("taratura", "Distanza alla quale l'arma è tarata");
    m_zeroTemperature = edit("temperaturaTaratura", "Temperatura dell'aria il giorno della taratura");
    m_zeroPressure = edit("pressioneTaratura", "Pressione sul posto il giorno della taratura");
    m_zeroHumidity = edit("umiditaTaratura", "Umidità relativa il giorno della taratura");

    form->addRow("Nome", m_name);
    form->addRow("Altezza ottica", withUnit(m_sight, "cm"));
    auto* twist = withUnit(m_twist, "pollici per giro");
    twist->addWidget(m_hand);
    form->addRow("Passo di rigatura", twist);
    auto* click = withUnit(m_clickValue, nullptr);
    click->addWidget(m_clickUnit);
    form->addRow("Valore del click", click);
    form->addRow("Click per giro", withUnit(m_turret, nullptr));
    form->addRow("Taratura", withUnit(m_zero, "m"));
    form->addRow("Temperatura alla taratura", withUnit(m_zeroTemperature, "°C"));
    form->addRow("Pressione alla taratura", withUnit(m_zeroPressure, "hPa (sul posto)"));
    form->addRow("Umidità alla taratura", withUnit(m_zeroHumidity, "%"));
    auto* apply = new QPushButton("C&onferma", box);
    apply->setObjectName("confermaArma");
    apply->setToolTip("Salva le modifiche dell'arma nell'armeria");
    connect(apply, &QPushButton::clicked, this,
            [this] { act([this] { m_model.rifleFormApplied(typedRifleForm()); }); });
    form->addRow(QString(), apply);
    return box;
}

QWidget* ArmouryWindow::createLoadForm()
{
    auto* box = new QGroupBox("Carica", this);
    box->setObjectName("loadForm");
    auto* form = new QFormLayout(box);
    const auto edit = [box](const char* name, const char* tip) { return formEdit(box, name, tip); };
    const auto withUnit = [box](QWidget* w, const char* unit) { return fieldWithUnit(box, w, unit); };
    m_description = edit("descrizione", "Il nome con cui ritrovare la carica");
    m_velocity = edit("velocita", "Velocità alla bocca misurata o dichiarata");
    m_velocityTemperature = edit("temperaturaVelocita", "Temperatura della polvere a cui vale quella velocità");
    m_sensitivity = edit("sensibilita", "Metri al secondo guadagnati per ogni grado in più della polvere");
    m_drag = new QComboBox(box);
    m_drag->setObjectName("modello");
    m_drag->addItems({"G1", "G7", "Tabella misurata"});
    m_bc = edit("coefficiente", "Coefficiente balistico del modello scelto (sotto ogni gradino)");
    m_steps = edit("gradini", "Coefficienti a gradini del produttore: coefficiente@da velocità m/s, "
                              "per esempio 0,505@800 0,496@600");
    m_dragTable = new QPlainTextEdit(box);
    m_dragTable->setObjectName("tabellaResistenza");
    m_dragTable->setToolTip("La curva di resistenza misurata del proiettile: una riga per punto, Mach e Cd");
    m_dragTable->setMaximumHeight(90);
    // Tab moves on, as in every other field; the table is one Tab stop.
    m_dragTable->setTabChangesFocus(true);
    m_weight = edit("peso", "Peso della palla");
    m_diameter = edit("diametro", "Diametro della palla (con lunghezza e passo: deriva e stabilità)");
    m_length = edit("lunghezza", "Lunghezza della palla");
    m_notes = edit("note", "Note libere: lotto, innesco, data della misura…");
    connect(m_drag, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_steps->setEnabled(index != 2);
        m_dragTable->setEnabled(index == 2);
    });

    form->addRow("Descrizione", m_description);
    form->addRow("Velocità", withUnit(m_velocity, "m/s"));
    form->addRow("a temperatura", withUnit(m_velocityTemperature, "°C"));
    form->addRow("Sensibilità alla temperatura", withUnit(m_sensitivity, "m/s per °C"));
    form->addRow("Modello", m_drag);
    form->addRow("Coefficiente", m_bc);
    m_stepsLabel = new QLabel("Coefficienti a gradini", box);
    form->addRow(m_stepsLabel, m_steps);
    m_tableLabel = new QLabel("Tabella Mach  Cd", box);
    form->addRow(m_tableLabel, m_dragTable);
    form->addRow("Peso", withUnit(m_weight, "grains"));
    form->addRow("Diametro", withUnit(m_diameter, "mm"));
    form->addRow("Lunghezza", withUnit(m_length, "mm"));
    form->addRow("Note", m_notes);
    auto* apply = new QPushButton("C&onferma", box);
    apply->setObjectName("confermaCarica");
    apply->setToolTip("Salva le modifiche della carica nell'armeria");
    connect(apply, &QPushButton::clicked, this,
            [this] { act([this] { m_model.loadFormApplied(typedLoadForm()); }); });
    form->addRow(QString(), apply);
    return box;
}

RifleForm ArmouryWindow::typedRifleForm() const
{
    RifleForm f;
    f.name = text(m_name);
    f.sightHeight_cm = text(m_sight);
    f.twist_in = text(m_twist);
    f.twistRightHand = m_hand->currentIndex() == 0;
    f.clickValue = text(m_clickValue);
    f.clickUnit = m_clickUnit->currentIndex() == 0 ? pointmass::AngleUnit::Moa : pointmass::AngleUnit::Mrad;
    f.turretClicksPerTurn = text(m_turret);
    f.zero_m = text(m_zero);
    f.zeroTemperature_C = text(m_zeroTemperature);
    f.zeroPressure_hPa = text(m_zeroPressure);
    f.zeroHumidity_pct = text(m_zeroHumidity);
    return f;
}

LoadForm ArmouryWindow::typedLoadForm() const
{
    LoadForm f;
    f.description = text(m_description);
    f.velocity_ms = text(m_velocity);
    f.velocityTemperature_C = text(m_velocityTemperature);
    f.temperatureSensitivity = text(m_sensitivity);
    f.drag = static_cast<LoadDrag>(m_drag->currentIndex());
    f.bc = text(m_bc);
    f.bcSteps = text(m_steps);
    f.dragTable = m_dragTable->toPlainText().toStdString();
    f.weight_gr = text(m_weight);
    f.diameter_mm = text(m_diameter);
    f.length_mm = text(m_length);
    f.notes = text(m_notes);
    return f;
}

void ArmouryWindow::treeSelectionChanged()
{
    const auto items = m_tree->selectedItems();
    Selection s;
    if (!items.isEmpty()) {
        s.rifle = items.first()->data(0, kRifleRole).toULongLong();
        const QVariant load = items.first()->data(0, kLoadRole);
        if (load.isValid())
            s.load = load.toULongLong();
    }
    if (s == m_model.selection())
        return;
    act([&] { m_model.select(s); });
}

void ArmouryWindow::refresh()
{
    m_refreshing = true;
    const Armoury& a = m_model.armoury();
    const Selection& s = m_model.selection();
    {
        const QSignalBlocker block(m_tree);
        m_tree->clear();
        QTreeWidgetItem* current = nullptr;
        for (std::size_t r = 0; r < a.rifles.size(); ++r) {
            auto* rifle = new QTreeWidgetItem(m_tree, {qs(a.rifles[r].name)});
            rifle->setData(0, kRifleRole, QVariant::fromValue<qulonglong>(r));
            rifle->setToolTip(0, rifle->text(0)); // a long name, whole
            if (s.rifle == r && !s.load)
                current = rifle;
            for (std::size_t l = 0; l < a.rifles[r].loads.size(); ++l) {
                auto* load = new QTreeWidgetItem(rifle, {qs(a.rifles[r].loads[l].description)});
                load->setData(0, kRifleRole, QVariant::fromValue<qulonglong>(r));
                load->setToolTip(0, load->text(0));
                load->setData(0, kLoadRole, QVariant::fromValue<qulonglong>(l));
                if (s.rifle == r && s.load == l)
                    current = load;
            }
        }
        m_tree->expandAll();
        if (current)
            m_tree->setCurrentItem(current);
    }
    m_hint->setText(qs(m_model.hint()));
    m_pages->setCurrentIndex(m_model.loadFormShown() ? kLoadPage : m_model.rifleFormShown() ? kRiflePage : kHintPage);
    if (m_model.rifleFormShown()) {
        const RifleForm f = m_model.rifleForm();
        setText(m_name, f.name);
        setText(m_sight, f.sightHeight_cm);
        setText(m_twist, f.twist_in);
        m_hand->setCurrentIndex(f.twistRightHand ? 0 : 1);
        setText(m_clickValue, f.clickValue);
        m_clickUnit->setCurrentIndex(f.clickUnit == pointmass::AngleUnit::Moa ? 0 : 1);
        setText(m_turret, f.turretClicksPerTurn);
        setText(m_zero, f.zero_m);
        setText(m_zeroTemperature, f.zeroTemperature_C);
        setText(m_zeroPressure, f.zeroPressure_hPa);
        setText(m_zeroHumidity, f.zeroHumidity_pct);
    }
    if (m_model.loadFormShown()) {
        const LoadForm f = m_model.loadForm();
        setText(m_description, f.description);
        setText(m_velocity, f.velocity_ms);
        setText(m_velocityTemperature, f.velocityTemperature_C);
        setText(m_sensitivity, f.temperatureSensitivity);
        m_drag->setCurrentIndex(static_cast<int>(f.drag));
        m_steps->setEnabled(f.drag != LoadDrag::Table);
        m_dragTable->setEnabled(f.drag == LoadDrag::Table);
        setText(m_bc, f.bc);
        setText(m_steps, f.bcSteps);
        if (m_dragTable->toPlainText() != qs(f.dragTable))
            m_dragTable->setPlainText(qs(f.dragTable));
        setText(m_weight, f.weight_gr);
        setText(m_diameter, f.diameter_mm);
        setText(m_length, f.length_mm);
        setText(m_notes, f.notes);
    }
    m_addLoad->setEnabled(m_model.canAddLoad());
    m_duplicate->setEnabled(m_model.canDuplicate());
    m_delete->setEnabled(m_model.canDelete());
    m_fromCatalogue->setEnabled(m_model.canAddLoad());
    m_export->setEnabled(m_model.canExport());
    // The field a refused "Conferma" was about: marked, and the keyboard put there.
    for (QWidget* page : {m_pages->widget(kRiflePage), m_pages->widget(kLoadPage)})
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QPlainTextEdit*>(w))
                continue;
            const bool refused = !m_model.refusedField().empty() && w->objectName() == qs(m_model.refusedField()) &&
                                 w->isVisibleTo(m_pages->currentWidget()) && page == m_pages->currentWidget();
            const QString style = refused ? QStringLiteral("border: 2px solid #b00000;") : QString();
            if (w->styleSheet() != style) {
                w->setStyleSheet(style);
                w->setAccessibleDescription(refused ? QStringLiteral("Valore rifiutato") : QString());
                if (refused)
                    w->setFocus(Qt::OtherFocusReason);
            }
        }
    m_refreshing = false;
}

void ArmouryWindow::exportTo(const QString& path)
{
    const auto document = m_model.exportDocument();
    if (!document)
        return;
    if (const std::string failure = writeDocument(path, *document); !failure.empty())
        m_dialogs.message({"ARMERIA", "L'arma non è stata esportata: " + failure + ".", MessageIcon::Warning});
}

void ArmouryWindow::importFrom(const QString& path)
{
    const JsonReading reading = readDocument(path);
    act([&] { m_model.documentImported(reading.armoury, reading.problem); });
}

} // namespace siacci::armoury
