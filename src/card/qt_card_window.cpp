#include "card/qt_card_window.hpp"

#include "armoury/qt_card_armoury_panel.hpp"

#include "card/qt_card_plot.hpp"
#include "card/qt_card_print.hpp"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QToolBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace siacci::card {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

QString escaped(const std::string& s) { return qs(s).toHtmlEscaped(); }

// The focusable widgets inside `container`, in the window's present Tab order.
QList<QWidget*> focusChainOf(QWidget* container)
{
    QList<QWidget*> chain;
    for (QWidget* w = container->nextInFocusChain(); w != container; w = w->nextInFocusChain())
        if (container->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && !chain.contains(w))
            chain << w;
    return chain;
}

// Moves the focusable widgets of `container` right after `after` in the Tab order; the last
// of them.
QWidget* chainAfter(QWidget* after, QWidget* container)
{
    for (QWidget* w : focusChainOf(container)) {
        QWidget::setTabOrder(after, w);
        after = w;
    }
    return after;
}


} // namespace

// --- the clock face -----------------------------------------------------------------------------

ClockFace::ClockFace(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Orologio"));
    setFixedSize(120, 120);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(QStringLiteral("Da dove viene il vento: clicca l'ora (12 = dal bersaglio, "
                              "3 = da destra, 6 = da dietro, 9 = da sinistra); con la tastiera, "
                              "le frecce spostano di un'ora, con Maiusc di mezz'ora"));
}

void ClockFace::setHours(double hours)
{
    if (hours != m_hours) {
        m_hours = hours;
        update();
    }
}

void ClockFace::keyPressEvent(QKeyEvent* event)
{
    const int step = event->modifiers() & Qt::ShiftModifier ? 1 : 2;
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Plus:
        if (stepped)
            stepped(step);
        return;
    case Qt::Key_Left:
    case Qt::Key_Down:
    case Qt::Key_Minus:
        if (stepped)
            stepped(-step);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ClockFace::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height());
    p.translate(width() / 2.0, height() / 2.0);
    p.scale(side / 200.0, side / 200.0);
    p.setPen(QPen(palette().color(QPalette::WindowText), 2));
    p.setBrush(palette().color(QPalette::Base));
    p.drawEllipse(QPointF(0, 0), 96, 96);
    // The target is up: a small mark over 12.
    QFont f = font();
    f.setPixelSize(22);
    p.setFont(f);
    for (int h = 1; h <= 12; ++h) {
        const double a = h * M_PI / 6;
        const QPointF at(78 * std::sin(a), -78 * std::cos(a));
        const QRectF box(at.x() - 14, at.y() - 13, 28, 26);
        if (h == static_cast<int>(m_hours) && m_hours == h) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 200, 120));
            p.drawEllipse(box.center(), 15, 15);
        }
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(box, Qt::AlignCenter, QString::number(h));
    }
    // The wind blows from the chosen hour towards the shooter at the centre.
    const double a = m_hours * M_PI / 6;
    const QPointF from(58 * std::sin(a), -58 * std::cos(a));
    const QPointF to(-10 * std::sin(a), 10 * std::cos(a));
    p.setPen(QPen(QColor(30, 90, 200), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF dir = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF side1(-dir.y(), dir.x());
    p.setBrush(QColor(30, 90, 200));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({to + dir * 14, to + side1 * 10, to - side1 * 10}));
    if (hasFocus()) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(palette().color(QPalette::Highlight), 3, Qt::DotLine));
        p.drawEllipse(QPointF(0, 0), 99, 99);
    }
}

void ClockFace::mousePressEvent(QMouseEvent* event)
{
    const double r = std::min(width(), height()) / 2.0;
    if (clicked)
        clicked((event->position().x() - width() / 2.0) / r,
                (event->position().y() - height() / 2.0) / r);
}

// --- the window ---------------------------------------------------------------------------------

CardWindow::CardWindow(const CardHost& host, QWidget* parent)
    : QWidget(parent), m_model(&host)
{
    setObjectName(QStringLiteral("Cartellino"));
    setWindowTitle(QStringLiteral("CARTELLINO DI TIRO"));
    createWidgets();
    refresh();
}

CardWindow::~CardWindow()
{
    changed = nullptr;
}

template <typename F> void CardWindow::act(F&& f)
{
    f();
    if (m_armoury)
        m_armoury->cardEdited();
    refresh();
}

void CardWindow::attachArmoury(armoury::ArmourySession& session, Dialogs& dialogs)
{
    m_armoury = new armoury::CardArmouryPanel(session, dialogs, m_model, this);
    m_armoury->cardChanged = [this] { refresh(); };
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, m_armoury);
    // "Verifica sul campo" is one more tab of inputs.
    m_inputs->addItem(m_armoury->truing(), QStringLiteral("Verifica s&ul campo"));
    // The Tab order as the window reads, top to bottom: the boxes "Arma" and "Carica" right
    // under the cartridge, the truing fields after the other inputs.
    chainAfter(m_print, m_armoury);
    chainAfter(m_compare, m_armoury->truing());
    quietScrollAreas();
}

// The tool box's scroll areas hold the sections' pages: no Tab stop of their own.
void CardWindow::quietScrollAreas()
{
    for (auto* area : m_inputs->findChildren<QScrollArea*>())
        area->setFocusPolicy(Qt::NoFocus);
}

QLineEdit* CardWindow::addField(QFormLayout* form, CardField field)
{
    const FieldInfo& info = fieldInfo(field);
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(info.objectName));
    edit->setToolTip(QString::fromUtf8(info.tooltip));
    edit->setMaximumWidth(90);
    m_fields[static_cast<std::size_t>(field)] = edit;
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
        act([&] { m_model.fieldChanged(field, text.toStdString()); });
    });
    auto* row = new QHBoxLayout;
    row->addWidget(edit);
    row->addWidget(new QLabel(QString::fromUtf8(info.unit)));
    row->addStretch();
    auto* label = new QLabel(QString::fromUtf8(info.caption));
    label->setBuddy(edit);
    label->setToolTip(edit->toolTip());
    form->addRow(label, row);
    return edit;
}

QWidget* CardWindow::createBulletFrame()
{
    auto* box = new QGroupBox(QStringLiteral("Proiettile"));
    auto* form = new QFormLayout(box);
    addField(form, CardField::Velocity);
    addField(form, CardField::Weight);
    m_dragModel = new QComboBox;
    m_dragModel->setObjectName(QStringLiteral("modello"));
    m_dragModel->addItems({QStringLiteral("G1"), QStringLiteral("G7")});
    m_dragModel->setToolTip(QStringLiteral("Il proiettile campione del coefficiente: G1 (palle "
                                           "a punta) o G7 (boat-tail da lunga distanza)"));
    connect(m_dragModel, &QComboBox::activated, this, [this](int i) {
        act([&] { m_model.dragModelChosen(i == 1 ? pm::DragModel::G7 : pm::DragModel::G1); });
    });
    form->addRow(QStringLiteral("Modello"), m_dragModel);
    addField(form, CardField::Bc);
    m_steps = new QTableWidget(kBcStepRows, 2);
    m_steps->setObjectName(QStringLiteral("gradini"));
    m_steps->setAccessibleName(QStringLiteral("Coefficienti a gradini"));
    // Tab moves on to the next field, as in the rest of the window; the arrows walk the cells.
    m_steps->setTabKeyNavigation(false);
    m_steps->setHorizontalHeaderLabels({QStringLiteral("coefficiente"),
                                        QStringLiteral("da m/s")});
    m_steps->verticalHeader()->hide();
    m_steps->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_steps->verticalHeader()->setDefaultSectionSize(m_steps->fontMetrics().height() + 4);
    m_steps->setFixedHeight(m_steps->horizontalHeader()->sizeHint().height() +
                            kBcStepRows * m_steps->verticalHeader()->defaultSectionSize() + 4);
    m_steps->setToolTip(QStringLiteral("Coefficienti a gradini del produttore: ogni riga vale "
                                       "dalla sua velocità in su; sotto tutte vale il coefficiente"));
    connect(m_steps, &QTableWidget::cellChanged, this, [this](int r, int c) {
        act([&] { m_model.bcStepChanged(r, c, m_steps->item(r, c)->text().toStdString()); });
    });
    form->addRow(QStringLiteral("A gradini"), m_steps);
    addField(form, CardField::Diameter);
    addField(form, CardField::Length);
    return box;
}

QWidget* CardWindow::createRifleFrame()
{
    auto* box = new QGroupBox(QStringLiteral("Arma e ottica"));
    auto* form = new QFormLayout(box);
    addField(form, CardField::SightHeight);
    addField(form, CardField::Zero);
    addField(form, CardField::Twist);
    m_hand = new QComboBox;
    m_hand->setObjectName(QStringLiteral("verso"));
    m_hand->addItems({QStringLiteral("destrorso"), QStringLiteral("sinistrorso")});
    m_hand->setToolTip(QStringLiteral("Verso della rigatura: la deriva da rotazione va dalla "
                                      "sua parte"));
    connect(m_hand, &QComboBox::activated, this,
            [this](int i) { act([&] { m_model.leftHandChosen(i == 1); }); });
    form->addRow(QStringLiteral("Rigatura"), m_hand);
    m_click = new QComboBox;
    m_click->setObjectName(QStringLiteral("click"));
    for (int i = 0; i < kClickChoiceCount; ++i)
        m_click->addItem(QString::fromUtf8(clickChoiceCaption(static_cast<ClickChoice>(i))));
    m_click->setToolTip(QStringLiteral("Valore di un click della torretta dell'ottica"));
    connect(m_click, &QComboBox::activated, this, [this](int i) {
        act([&] { m_model.clickChosen(static_cast<ClickChoice>(i)); });
    });
    form->addRow(QStringLiteral("Click"), m_click);
    addField(form, CardField::ClickTyped);
    addField(form, CardField::ClicksPerTurn);
    return box;
}

QWidget* CardWindow::createConditionsFrame()
{
    auto* box = new QGroupBox(QStringLiteral("Condizioni"));
    auto* grid = new QVBoxLayout(box);
    auto* form = new QFormLayout;
    grid->addLayout(form);
    addField(form, CardField::Temperature);
    m_pressureMode = new QComboBox;
    m_pressureMode->setObjectName(QStringLiteral("tipoPressione"));
    for (PressureMode m : {PressureMode::Station, PressureMode::SeaLevel, PressureMode::AltitudeOnly})
        m_pressureMode->addItem(QString::fromUtf8(pressureModeCaption(m)));
    m_pressureMode->setToolTip(QStringLiteral(
        "Quale pressione hai: quella misurata sul posto, quella del bollettino meteo (ridotta al "
        "livello del mare: serve l'altitudine) o nessuna (la dà l'altitudine)"));
    connect(m_pressureMode, &QComboBox::activated, this, [this](int i) {
        act([&] { m_model.pressureModeChosen(static_cast<PressureMode>(i)); });
    });
    form->addRow(QStringLiteral("Tipo di pressione"), m_pressureMode);
    addField(form, CardField::Pressure);
    addField(form, CardField::Altitude);
    addField(form, CardField::Humidity);
    addField(form, CardField::WindSpeed);
    addField(form, CardField::LookAngle);
    addField(form, CardField::Latitude);
    addField(form, CardField::Azimuth);
    auto* clockColumn = new QHBoxLayout;
    auto* clockLabel = new QLabel(QStringLiteral("Vento da:"));
    clockColumn->addWidget(clockLabel);
    m_clock = new ClockFace;
    clockLabel->setBuddy(m_clock);
    m_clock->clicked = [this](double x, double y) { act([&] { m_model.clockClicked(x, y); }); };
    m_clock->stepped = [this](int halfHours) { act([&] { m_model.windClockStepped(halfHours); }); };
    clockColumn->addWidget(m_clock);
    m_windDirection = new QLabel;
    m_windDirection->setObjectName(QStringLiteral("direzioneVento"));
    m_windDirection->setWordWrap(true);
    m_windDirection->setMaximumWidth(130);
    clockColumn->addWidget(m_windDirection);
    clockColumn->addStretch();
    grid->addLayout(clockColumn);
    grid->addStretch();
    return box;
}

QWidget* CardWindow::createTableFrame()
{
    auto* box = new QGroupBox(QStringLiteral("Tabella"));
    auto* form = new QFormLayout(box);
    addField(form, CardField::MaxDistance);
    addField(form, CardField::Increment);
    m_species = new QComboBox;
    m_species->setObjectName(QStringLiteral("selvaggina"));
    for (int i = 0; i < kSpeciesCount; ++i)
        m_species->addItem(QString::fromUtf8(speciesCaption(static_cast<Species>(i))));
    m_species->setToolTip(QStringLiteral("La selvaggina: ne prende l'energia minima, che puoi "
                                         "cambiare (il tuo numero resta a quella specie)"));
    connect(m_species, &QComboBox::activated, this, [this](int i) {
        act([&] { m_model.speciesChosen(static_cast<Species>(i)); });
    });
    form->addRow(QStringLiteral("Selvaggina"), m_species);
    addField(form, CardField::MinEnergy);
    addField(form, CardField::VitalZone);
    addField(form, CardField::AnimalSpeed);
    addField(form, CardField::AnimalLength);
    return box;
}

QWidget* CardWindow::createHitFrame()
{
    auto* box = new QGroupBox(QStringLiteral("Distanza etica"));
    auto* form = new QFormLayout(box);
    m_hitOn = new QCheckBox(QStringLiteral("Probabilità di colpire la zona vitale"));
    m_hitOn->setObjectName(QStringLiteral("colpoUtile"));
    m_hitOn->setToolTip(QStringLiteral("Aggiunge la colonna \"Colpo utile %\" e la distanza "
                                       "etica: fin dove colpisci la zona vitale 9 volte su 10"));
    connect(m_hitOn, &QCheckBox::clicked, this,
            [this](bool on) { act([&] { m_model.hitChosen(on); }); });
    form->addRow(m_hitOn);
    auto combo = [&](const char* name, const char* caption, const char* tip, int count,
                     auto captionOf, auto chosen) {
        auto* c = new QComboBox;
        c->setObjectName(QString::fromLatin1(name));
        for (int i = 0; i < count; ++i)
            c->addItem(QString::fromUtf8(captionOf(i)));
        // The inputs' column is narrow: the box gives way, its list shows the whole captions.
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(10);
        c->setToolTip(QString::fromUtf8(tip));
        connect(c, &QComboBox::activated, this, [this, chosen](int i) { act([&] { chosen(i); }); });
        form->addRow(QString::fromUtf8(caption), c);
        return c;
    };
    m_rangeFinder = combo("distanzaLetta", "Distanza", "Come misuri la distanza", kRangeFinderCount,
                          [](int i) { return rangeFinderCaption(static_cast<RangeFinder>(i)); },
                          [this](int i) { m_model.rangeFinderChosen(static_cast<RangeFinder>(i)); });
    m_windReading = combo("ventoLetto", "Vento", "Come conosci il vento", kWindReadingCount,
                          [](int i) { return windReadingCaption(static_cast<WindReading>(i)); },
                          [this](int i) { m_model.windReadingChosen(static_cast<WindReading>(i)); });
    m_position = combo("posizione", "Posizione", "Come tieni l'arma: aggiunge la sua dispersione a "
                       "quella della rosata", kShootingPositionCount,
                       [](int i) { return shootingPositionCaption(static_cast<ShootingPosition>(i)); },
                       [this](int i) { m_model.positionChosen(static_cast<ShootingPosition>(i)); });
    m_aim = combo("mira", "Mira", "Con la correzione per la distanza, o sempre al centro", kAimModeCount,
                  [](int i) { return aimModeCaption(static_cast<AimMode>(i)); },
                  [this](int i) { m_model.aimChosen(i == 0 ? AimMode::Corrected : AimMode::NoCorrection); });
    addField(form, CardField::GroupSize);
    addField(form, CardField::VelocitySd);
    addField(form, CardField::BcSd);
    addField(form, CardField::MinProbability);
    return box;
}

QWidget* CardWindow::createMethodFrame()
{
    auto* box = new QGroupBox(QStringLiteral("Metodo"));
    auto* column = new QVBoxLayout(box);
    m_pointMass = new QRadioButton(QStringLiteral("Punto materiale"));
    m_pointMass->setObjectName(QStringLiteral("puntoMateriale"));
    m_pointMass->setToolTip(QStringLiteral("Integrazione delle equazioni del moto: G1, G7, "
                                           "gradini, vento, angolo, Coriolis, rotazione"));
    m_siacci = new QRadioButton(QStringLiteral("Siacci"));
    m_siacci->setObjectName(QStringLiteral("siacci"));
    m_siacci->setToolTip(QStringLiteral("Il metodo classico del programma, con l'aria, il vento "
                                        "di traverso e l'angolo del cartellino"));
    m_compare = new QCheckBox(QStringLiteral("Confronta con Siacci"));
    m_compare->setObjectName(QStringLiteral("confronta"));
    m_compare->setToolTip(QStringLiteral("Aggiunge la traiettoria di Siacci e la differenza"));
    auto* group = new QButtonGroup(box);
    group->addButton(m_pointMass, 0);
    group->addButton(m_siacci, 1);
    connect(group, &QButtonGroup::idClicked, this, [this](int id) {
        act([&] { m_model.methodChosen(id == 1 ? Method::Siacci : Method::PointMass); });
    });
    connect(m_compare, &QCheckBox::clicked, this,
            [this](bool on) { act([&] { m_model.compareChosen(on); }); });
    column->addWidget(m_pointMass);
    column->addWidget(m_siacci);
    column->addWidget(m_compare);
    column->addStretch();
    return box;
}

void CardWindow::createWidgets()
{
    auto* outer = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* description = new QLineEdit;
    description->setObjectName(QString::fromLatin1(fieldInfo(CardField::Description).objectName));
    description->setToolTip(QString::fromUtf8(fieldInfo(CardField::Description).tooltip));
    m_fields[static_cast<std::size_t>(CardField::Description)] = description;
    connect(description, &QLineEdit::textEdited, this, [this](const QString& text) {
        act([&] { m_model.fieldChanged(CardField::Description, text.toStdString()); });
    });
    auto* take = new QPushButton(QStringLiteral("Prendi dal t&iro corrente"));
    take->setObjectName(QStringLiteral("prendi"));
    take->setToolTip(QStringLiteral("Riprende velocità, coefficiente, peso, ottica, distanze, "
                                    "temperatura e altitudine dalla finestra principale"));
    connect(take, &QPushButton::clicked, this, [this] { act([&] { m_model.takeCurrentShot(); }); });
    m_layout = new QComboBox;
    m_layout->setObjectName(QStringLiteral("formato"));
    m_layout->addItems({QStringLiteral("Cartellino tascabile"), QStringLiteral("Pagina intera")});
    auto* printButton = m_print = new QPushButton(QStringLiteral("&Stampa"));
    printButton->setObjectName(QStringLiteral("stampa"));
    printButton->setToolTip(QStringLiteral("Anteprima di stampa nel formato scelto (Ctrl+P)"));
    connect(printButton, &QPushButton::clicked, this, [this] { print(); });
    auto* printAction = new QAction(this);
    printAction->setShortcut(QKeySequence::Print);
    printAction->setShortcutContext(Qt::WindowShortcut);
    connect(printAction, &QAction::triggered, this, [this] { print(); });
    addAction(printAction);
    auto* cartridge = new QLabel(QStringLiteral("&Cartuccia"));
    cartridge->setBuddy(description);
    auto* layoutLabel = new QLabel(QStringLiteral("For&mato"));
    layoutLabel->setBuddy(m_layout);
    top->addWidget(cartridge);
    top->addWidget(description, 1);
    top->addWidget(take);
    top->addSpacing(16);
    top->addWidget(layoutLabel);
    top->addWidget(m_layout);
    top->addWidget(printButton);
    outer->addLayout(top);

    // Where the load came from, and the way back to the main window's shot.
    auto* sourceRow = new QHBoxLayout;
    m_source = new QLabel;
    m_source->setObjectName(QStringLiteral("origine"));
    m_source->setWordWrap(true);
    m_follow = new QPushButton(QStringLiteral("Se&gui la finestra principale"));
    m_follow->setObjectName(QStringLiteral("segui"));
    m_follow->setToolTip(QStringLiteral("Riprende il tiro della finestra principale e torna a seguirlo"));
    connect(m_follow, &QPushButton::clicked, this, [this] { act([&] { m_model.takeCurrentShot(); }); });
    sourceRow->addWidget(m_source, 1);
    sourceRow->addWidget(m_follow);
    outer->addLayout(sourceRow);

    m_hint = new QLabel;
    m_hint->setObjectName(QStringLiteral("suggerimento"));
    m_hint->setWordWrap(true);
    m_hint->setStyleSheet(QStringLiteral("color: #8a5a00;"));
    outer->addWidget(m_hint);

    m_refusal = new QLabel;
    m_refusal->setObjectName(QStringLiteral("rifiuto"));
    m_refusal->setWordWrap(true);
    m_refusal->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    outer->addWidget(m_refusal);

    arrangeBody(outer);
    resize(1280, 900);
}

// The layout of the window's body, in one place: the inputs in sections at the left (so the grid
// keeps its width and every click column on a 1024 x 768 screen), the card and its notes at
// the right above the plot.
void CardWindow::arrangeBody(QVBoxLayout* outer)
{
    // Each section's page: its frame at the top (the tool box scrolls a page taller than its room).
    auto scrolled = [](QWidget* frame) {
        auto* page = new QWidget;
        auto* column = new QVBoxLayout(page);
        column->setContentsMargins(0, 0, 0, 0);
        column->addWidget(frame);
        column->addStretch();
        return page;
    };
    // A column of sections, one open at a time: narrow enough for the card's every column.
    m_inputs = new QToolBox;
    m_inputs->setObjectName(QStringLiteral("dati"));
    // The section's header names the frame: the frame itself needs no title.
    auto untitled = [](QWidget* frame) {
        static_cast<QGroupBox*>(frame)->setTitle(QString());
        static_cast<QGroupBox*>(frame)->setFlat(true);
        return frame;
    };
    m_inputs->addItem(scrolled(untitled(createBulletFrame())), QStringLiteral("&Proiettile"));
    m_inputs->addItem(scrolled(untitled(createRifleFrame())), QStringLiteral("Arma e &ottica"));
    m_inputs->addItem(scrolled(untitled(createConditionsFrame())), QStringLiteral("Co&ndizioni"));
    auto* tableAndMethod = new QWidget;
    auto* column = new QVBoxLayout(tableAndMethod);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(createTableFrame());
    column->addWidget(createMethodFrame());
    m_inputs->addItem(scrolled(tableAndMethod), QStringLiteral("&Tabella e metodo"));
    m_inputs->addItem(scrolled(untitled(createHitFrame())), QStringLiteral("&Distanza etica"));
    m_inputs->setMinimumWidth(290);
    m_inputs->setMaximumWidth(420);

    auto* cardSide = new QSplitter(Qt::Vertical);
    auto* gridAndNotes = new QWidget;
    auto* gridColumn = new QVBoxLayout(gridAndNotes);
    gridColumn->setContentsMargins(0, 0, 0, 0);
    m_grid = new QTableWidget;
    m_grid->setObjectName(QStringLiteral("griglia"));
    m_grid->setAccessibleName(QStringLiteral("Cartellino"));
    // One Tab stop: the arrows walk the cells, Tab leaves.
    m_grid->setTabKeyNavigation(false);
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    gridColumn->addWidget(m_grid, 1);
    m_notes = new QLabel;
    m_notes->setObjectName(QStringLiteral("note"));
    m_notes->setWordWrap(true);
    m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    gridColumn->addWidget(m_notes);
    cardSide->addWidget(gridAndNotes);
    m_plot = new CardPlot;
    m_plot->setMinimumHeight(160);
    cardSide->addWidget(m_plot);
    cardSide->setStretchFactor(0, 2);
    cardSide->setStretchFactor(1, 1);

    auto* split = new QSplitter(Qt::Horizontal);
    split->setObjectName(QStringLiteral("divisione"));
    split->addWidget(m_inputs);
    split->addWidget(cardSide);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    split->setSizes({m_inputs->minimumWidth(), 4 * m_inputs->minimumWidth()});
    quietScrollAreas();
    outer->addWidget(split, 1);
}



// Room for the whole card, but never more than the screen it opens on has (a laptop's
// 1366 x 768): the frames scroll and the grid shrinks.
void CardWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    const QSize room = screen()->availableGeometry().size() * 0.95;
    if (width() > room.width() || height() > room.height())
        resize(size().boundedTo(room));
}

// --- refresh ------------------------------------------------------------------------------------

void CardWindow::mainShotChanged()
{
    if (m_model.mainShotChanged())
        act([] {});
}

void CardWindow::refresh()
{
    if (m_armoury)
        m_armoury->refresh();
    const Cartellino& m = m_model;
    for (int i = 0; i < kCardFieldCount; ++i) {
        QLineEdit* edit = m_fields[static_cast<std::size_t>(i)];
        const QString text = qs(m.shownText(static_cast<CardField>(i)));
        if (edit && edit->text() != text) {
            const QSignalBlocker block(edit);
            edit->setText(text);
        }
    }
    auto setIndex = [](QComboBox* box, int index) {
        const QSignalBlocker block(box);
        box->setCurrentIndex(index);
    };
    setIndex(m_dragModel, m.dragModel() == pm::DragModel::G7 ? 1 : 0);
    setIndex(m_hand, m.leftHand() ? 1 : 0);
    setIndex(m_click, static_cast<int>(m.clickChoice()));
    setIndex(m_pressureMode, static_cast<int>(m.pressureMode()));
    setIndex(m_species, static_cast<int>(m.species()));
    setIndex(m_rangeFinder, static_cast<int>(m.rangeFinder()));
    setIndex(m_windReading, static_cast<int>(m.windReading()));
    setIndex(m_position, static_cast<int>(m.position()));
    setIndex(m_aim, m.aim() == AimMode::Corrected ? 0 : 1);
    {
        const QSignalBlocker block(m_hitOn);
        m_hitOn->setChecked(m.hit());
    }
    m_fields[static_cast<std::size_t>(CardField::ClickTyped)]->setEnabled(m.clickTypedEnabled());
    m_fields[static_cast<std::size_t>(CardField::Pressure)]->setEnabled(m.pressureEnabled());
    m_fields[static_cast<std::size_t>(CardField::Altitude)]->setEnabled(m.altitudeEnabled());
    {
        const QSignalBlocker block(m_steps);
        for (int r = 0; r < kBcStepRows; ++r)
            for (int c = 0; c < 2; ++c) {
                QTableWidgetItem* item = m_steps->item(r, c);
                if (!item)
                    m_steps->setItem(r, c, item = new QTableWidgetItem);
                if (item->text() != qs(m.bcStepText(r, c)))
                    item->setText(qs(m.bcStepText(r, c)));
            }
    }
    m_clock->setHours(m.windClockHours());
    m_clock->setAccessibleName(QStringLiteral("Vento ") + qs(m.windDirectionText()));
    m_windDirection->setText(qs(m.windDirectionText()));
    {
        const QSignalBlocker b1(m_pointMass), b2(m_siacci), b3(m_compare);
        m_pointMass->setChecked(m.method() == Method::PointMass);
        m_siacci->setChecked(m.method() == Method::Siacci);
        m_compare->setChecked(m.compare());
        m_compare->setEnabled(m.compareEnabled());
    }
    m_source->setText(QStringLiteral("Carica: ") + qs(m.sourceText()));
    m_source->setStyleSheet(m.modified() ? QStringLiteral("color: #8a4000;") : QString());
    m_follow->setVisible(m.followOffered());
    m_hint->setText(qs(m.hint()));
    m_hint->setVisible(!m.hint().empty());
    m_refusal->setText(qs(m.sheet().refusal));
    m_refusal->setVisible(!m.sheet().ok());
    m_print->setEnabled(m.sheet().ok());
    refreshGrid();
    QString notes;
    for (const Note& n : m.sheet().notes) {
        const char* colour = n.kind == NoteKind::Refusal ? "#b00000"
                             : n.kind == NoteKind::Warning ? "#8a4000" : "";
        notes += *colour ? QStringLiteral("<div style='color:%1'>%2</div>").arg(colour, escaped(n.text))
                         : QStringLiteral("<div>%1</div>").arg(escaped(n.text));
    }
    m_notes->setText(notes);
    m_plot->setSheet(m.sheet());
    if (changed)
        changed();
}

void CardWindow::refreshGrid()
{
    const CardSheet& s = m_model.sheet();
    const int columns = static_cast<int>(s.headings.size());
    if (m_grid->columnCount() != columns)
        m_grid->setColumnCount(columns);
    QStringList headings;
    for (const std::string& h : s.headings) {
        // Two lines: the name, then the unit or the direction (the arrows start the second
        // line, so the click columns stay narrow).
        QString text = qs(h);
        const int arrow = text.indexOf(QRegularExpression(QStringLiteral(" [▲▼◀▶]")));
        const int space = arrow > 0 && text.indexOf(' ') != arrow ? arrow : text.indexOf(' ');
        if (space > 0)
            text[space] = '\n';
        headings << text;
    }
    m_grid->setHorizontalHeaderLabels(headings);
    m_grid->setRowCount(static_cast<int>(s.rows.size()));
    const QBrush shaded(QColor(215, 215, 215));
    for (int r = 0; r < static_cast<int>(s.rows.size()); ++r) {
        const CardRow& row = s.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < columns; ++c) {
            QTableWidgetItem* item = m_grid->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_grid->setItem(r, c, item);
            }
            item->setText(qs(row.cells[static_cast<std::size_t>(c)]));
            item->setBackground(row.belowMinimumEnergy ? shaded : QBrush());
            item->setToolTip(row.belowMinimumEnergy
                                 ? QStringLiteral("Energia sotto il minimo per la selvaggina")
                                 : QString());
        }
    }
    m_grid->resizeColumnsToContents();
}

// --- printing -----------------------------------------------------------------------------------

PrintedCard CardWindow::printedCard() const
{
    return m_layout->currentIndex() == 0 ? pocketLayout(m_model.sheet()).card
                                         : fullPageLayout(m_model.sheet());
}

void CardWindow::print()
{
    if (!m_model.sheet().ok())
        return;
    showCardPreview(printedCard(), this);
}

} // namespace siacci::card
