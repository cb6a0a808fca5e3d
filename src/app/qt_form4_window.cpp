#include "app/qt_form4_window.hpp"

#include "app/form4_export.hpp"
#include "app/qt_option_button.hpp"
#include "files/qt_careful_write.hpp"
#include "armoury/qt_armoury_window.hpp"
#include "bc/qt_cb_window.hpp"
#include "calc/qt_calc_window.hpp"
#include "card/qt_card_window.hpp"
#include "card/qt_tiro_window.hpp"
#include "files/qt_file_window.hpp"
#include "graph/qt_graph_window.hpp"
#include "print/about.hpp"
#include "print/qt_help_window.hpp"
#include "print/qt_icons.hpp"
#include "print/qt_print_sink.hpp"
#include "catalogue/catalogue.hpp"
#include "common/qt_text.hpp"
#include "common/twips.hpp"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QShortcut>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace siacci {

namespace {

} // namespace

Form4Window::Form4Window(QWidget* parent) : QMainWindow(parent), m_dialogs(this)
{
    setObjectName("Form4");
    setWindowTitle(kProgramTitle);
    setWindowIcon(applicationIcon());
    const QChar point = QLocale().decimalPoint().front();
    m_printSink = std::make_unique<QtPrintSink>(this);
    openArmoury();
    m_form = std::make_unique<Form4>(m_dialogs, *this, *m_printSink,
                                          point == QLatin1Char(',') ? ',' : '.');
    createActions();
    createMenus();
    createWidgets();
    registerWindows();
    // What another window changes in the model (a file opened, the graph's site angle), and
    // what stands behind a prompt, is shown at once.
    model().setChangeListener([this] {
        refresh();
        applyFocusRequest();
    });
    model().startUp();
    refresh();
}

Form4Window::~Form4Window() = default;

Form4& Form4Window::model()
{
    return *m_form;
}

template <typename F> void Form4Window::act(F&& f)
{
    f();
    refresh();
    applyFocusRequest();
}

// --- construction -------------------------------------------------------------------------------

void Form4Window::createActions()
{
}

void Form4Window::createMenus()
{
    QMenu* file = menuBar()->addMenu("&FILE");
    file->setObjectName("mnuFile");
    QAction* apri = file->addAction("APRI FILE");
    apri->setObjectName("apri");
    apri->setShortcut(QKeySequence::Open);
    connect(apri, &QAction::triggered, this, [this] { show(WindowId::GetFile); });
    QAction* salva = file->addAction("SALVA FILE");
    salva->setObjectName("salva");
    salva->setShortcut(QKeySequence::Save);
    connect(salva, &QAction::triggered, this, [this] { show(WindowId::SaveFile); });
    QAction* stampa = file->addAction("STAMPA");
    stampa->setObjectName("stampa");
    stampa->setShortcut(QKeySequence::Print);
    connect(stampa, &QAction::triggered, this, [this] { act([this] { model().printMenu(); }); });
    QAction* esporta = file->addAction("ESPORTA TABELLA…");
    esporta->setObjectName("esporta");
    connect(esporta, &QAction::triggered, this, [this] { exportTable(); });
    file->addSeparator();
    QAction* fine = file->addAction("FINE");
    fine->setObjectName("fine");
    fine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(fine, &QAction::triggered, this, [this] { model().fine(); });

    createCatalogueMenus();

    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { show(WindowId::Help); });

    QMenu* util = menuBar()->addMenu("&UTILITA'");
    util->setObjectName("mnuUtilita");
    QAction* cicb = util->addAction("CALCOLA IL COEFFICIENTE BALISTICO");
    cicb->setObjectName("CICB");
    connect(cicb, &QAction::triggered, this, [this] { show(WindowId::Cb); });
    m_graphicAction = util->addAction("GRAFICO");
    m_graphicAction->setObjectName("Graphic");
    connect(m_graphicAction, &QAction::triggered, this,
            [this] { act([this] { model().graphicMenu(); }); });
    QAction* cac = util->addAction("CALCOLATRICE+CONVERSIONI");
    cac->setObjectName("CAC");
    connect(cac, &QAction::triggered, this, [this] { show(WindowId::Calc); });
    QAction* cdt = util->addAction("CARTELLINO DI TIRO");
    cdt->setObjectName("CDT");
    cdt->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    connect(cdt, &QAction::triggered, this, [this] { show(WindowId::Card); });
    QAction* armeria = util->addAction("ARMERIA");
    armeria->setObjectName("Armeria");
    armeria->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(armeria, &QAction::triggered, this, [this] { show(WindowId::Armoury); });
    QAction* tiro = util->addAction("IL TIRO");
    tiro->setObjectName("IlTiro");
    tiro->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(tiro, &QAction::triggered, this, [this] { show(WindowId::Tiro); });
}

void Form4Window::createCatalogueMenus()
{
    // The access keys of the three menus in menu-bar order: Alt+R (DATA RIFLE), Alt+P
    // (DATA PISTOL), Alt+I (R.I.I.-R.S.P.-P.I.R.), the letter at that position of the title.
    constexpr int kAccessKeyAt[] = {5, 5, 2};
    const auto& menus = catalogueMenus();
    for (std::size_t i = 0; i < menus.size(); ++i) {
        const CatalogueMenu& menu = menus[i];
        QString title = literalCaption(menu.title);
        if (i < std::size(kAccessKeyAt))
            title.insert(kAccessKeyAt[i], '&');
        QMenu* top = menuBar()->addMenu(title);
        top->setObjectName(qs(menu.objectName));
        // The terminal-ballistics menu is the one of the terminal presets, which the model
        // may disable.
        if (!menu.families.empty() && !menu.families.front().presets.empty() &&
            menu.families.front().presets.front().kind == PresetKind::Terminal)
            m_terminalMenu = top;
        for (const CartridgeFamily& family : menu.families) {
            QMenu* target = top;
            if (!family.caption.empty()) {
                target = top->addMenu(literalCaption(family.caption));
                target->setObjectName(qs(family.caption));
            }
            for (const CartridgePreset& preset : family.presets) {
                QAction* item = target->addAction(literalCaption(preset.caption));
                item->setObjectName(qs(preset.itemName));
                const CartridgePreset* p = &preset;
                connect(item, &QAction::triggered, this,
                        [this, p] { act([this, p] { model().presetChosen(*p); }); });
            }
        }
    }
}

QWidget* Form4Window::createToolbar()
{
    auto* bar = m_toolbar = new QWidget;
    bar->setObjectName("Toolbar");
    // The free part of the strip is background: the pointer there hides the hint.
    bar->setMouseTracking(true);
    bar->installEventFilter(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 4, 4, 4);
    for (int i : {1, 2, 3, 4, 5, 6, 9}) {
        auto* b = new QToolButton;
        b->setObjectName(QString("Image%1").arg(i));
        b->setIconSize(QSize(32, 32));
        b->setAutoRaise(true);
        b->setMouseTracking(true);
        b->installEventFilter(this);
        b->setIcon(toolbarIcon(i));
        b->setAccessibleName(Form4::toolbarHint(i));
        b->setToolTip(Form4::toolbarHint(i));
        // A hidden button leaves its gap: the others stay where the user expects them.
        QSizePolicy policy = b->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        b->setSizePolicy(policy);
        m_images[static_cast<std::size_t>(i - 1)] = b;
        connect(b, &QToolButton::clicked, this, [this, i] { toolbarClicked(i); });
        row->addWidget(b);
    }
    m_hint = new QLabel("GRAFICO");
    m_hint->setObjectName("Label1");
    QFont hintFont("Arial");
    hintFont.setBold(true);
    m_hint->setFont(hintFont);
    m_hint->setMinimumWidth(120);
    row->addSpacing(8);
    row->addWidget(m_hint);
    row->addStretch();
    return bar;
}

QWidget* Form4Window::createInputTab()
{
    auto* page = new QWidget;
    auto* form = new QGridLayout(page);
    int row = 0;
    for (Field f : inputFieldsInRows()) {
        const FieldDescription& d = describe(f);
        auto* edit = new QLineEdit;
        edit->setObjectName(d.name);
        edit->setMaximumWidth(110);
        m_fields[static_cast<std::size_t>(f)] = edit;
        auto* label = new QLabel;
        label->setObjectName(d.labelName);
        m_fieldLabels[static_cast<std::size_t>(f)] = label;
        label->setBuddy(edit);
        form->addWidget(label, row, 0);
        form->addWidget(edit, row, 1);
        connect(edit, &QLineEdit::textEdited, this, [this, f](const QString& text) {
            model().fieldChanged(f, text.toStdString());
        });
        connect(edit, &QLineEdit::returnPressed, this,
                [this] { act([this] { model().calcolaClicked(); }); });
        ++row;
    }
    m_calcola = new QPushButton("&CALCOLA");
    m_calcola->setObjectName("Command1");
    m_calcola->setMinimumHeight(32);
    m_calcola->installEventFilter(this); // Enter on the focused button computes too
    connect(m_calcola, &QPushButton::clicked, this,
            [this] { act([this] { model().calcolaClicked(); }); });
    form->addWidget(m_calcola, row, 0, 1, 2);
    form->setRowStretch(row + 1, 1);
    form->setColumnStretch(2, 1);
    // Tab order: the fields top to bottom, then CALCOLA.
    QWidget* previous = nullptr;
    for (Field f : inputFieldsInRows()) {
        QWidget* current = m_fields[static_cast<std::size_t>(f)];
        if (previous)
            setTabOrder(previous, current);
        previous = current;
    }
    setTabOrder(previous, m_calcola);
    return page;
}

QWidget* Form4Window::createBulletTab()
{
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    m_bulletGroup = new QButtonGroup(this);
    m_bulletGroup->setExclusive(false);
    for (int k = 1; k <= 10; ++k) {
        auto* b = new OptionButton;
        b->setObjectName(QString("Option%1").arg(k));
        m_bullets[static_cast<std::size_t>(k - 1)] = b;
        m_bulletGroup->addButton(b, k);
        // Option1 and Option2 select on receiving the focus; the arrow keys walk the group.
        b->installEventFilter(this);
        connect(b, &QRadioButton::clicked, this,
                [this, k] { act([this, k] { model().bulletClicked(k); }); });
        column->addWidget(b);
    }
    column->addStretch();
    return page;
}

QWidget* Form4Window::createOptionsTab()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);

    auto* site = m_siteFrame = new QGroupBox("Angolo di Sito");
    site->setObjectName("FrameSito");
    auto* siteCol = new QVBoxLayout(site);
    const char* siteCaptions[5] = {"Gradi 0", "Gradi 15", "Gradi 30", "Gradi 45", "Gradi 60"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new QRadioButton(siteCaptions[i]);
        b->setObjectName(QString("Option%1").arg(11 + i));
        m_siteOptions[static_cast<std::size_t>(i)] = b;
        siteCol->addWidget(b);
        connect(b, &QRadioButton::clicked, this,
                [this, i] { act([this, i] { model().siteAngleClicked(i); }); });
    }
    m_siteOptions[0]->setChecked(true);

    auto* units = m_unitFrame = new QGroupBox("MISURE");
    units->setObjectName("FrameMisure");
    auto* unitCol = new QVBoxLayout(units);
    m_europee = new QRadioButton("EUROPEE");
    m_europee->setObjectName("Option16");
    m_inglesi = new QRadioButton("INGLESI");
    m_inglesi->setObjectName("Option17");
    unitCol->addWidget(m_europee);
    unitCol->addWidget(m_inglesi);
    unitCol->addStretch();
    connect(m_europee, &QRadioButton::clicked, this,
            [this] { act([this] { model().europeeClicked(); }); });
    connect(m_inglesi, &QRadioButton::clicked, this,
            [this] { act([this] { model().ingleseClicked(); }); });

    m_rspFrame = new QGroupBox("Relative Stopping Power");
    m_rspFrame->setObjectName("FrameRSP");
    auto* rspCol = new QVBoxLayout(m_rspFrame);
    const char* rsp[5] = {"HollowPoint ", "WadCutter", "SemiWadCutter", "SemiRoundNose",
                          "RoundNose"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new OptionButton(rsp[i]); // the model says which is checked, or that none is
        b->setObjectName(QString("Option%1").arg(18 + i));
        m_shapes[static_cast<std::size_t>(i)] = b;
        rspCol->addWidget(b);
        connect(b, &QRadioButton::clicked, this,
                [this, i] { act([this, i] { model().shapeClicked(18 + i); }); });
    }
    m_pirFrame = new QGroupBox("Power Index Rating");
    m_pirFrame->setObjectName("FramePIR");
    auto* pirCol = new QVBoxLayout(m_pirFrame);
    const char* pir[3] = {"FMJ Full Metal Jacket", "Flat Point fronte 60% del cal.",
                          "Molto Espansive"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new OptionButton(pir[i]);
        b->setObjectName(QString("Option%1").arg(23 + i));
        m_shapes[static_cast<std::size_t>(5 + i)] = b;
        pirCol->addWidget(b);
        connect(b, &QRadioButton::clicked, this,
                [this, i] { act([this, i] { model().shapeClicked(23 + i); }); });
    }
    pirCol->addStretch();

    grid->addWidget(site, 0, 0);
    grid->addWidget(units, 0, 1);
    grid->addWidget(m_rspFrame, 1, 0);
    grid->addWidget(m_pirFrame, 1, 1);
    grid->setRowStretch(2, 1);
    return page;
}

void Form4Window::createWidgets()
{
    auto* central = new QWidget;
    central->setObjectName("Background");
    central->setMouseTracking(true);
    central->installEventFilter(this);
    setCentralWidget(central);
    setMouseTracking(true);

    auto* outer = new QVBoxLayout(central);

    auto* body = new QHBoxLayout;
    auto* leftPane = new QWidget;
    auto* left = new QVBoxLayout(leftPane);
    left->setContentsMargins(0, 0, 0, 0);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName("SSTab1");
    m_tabs->addTab(createInputTab(), "&DATI BASE");
    m_tabs->addTab(createBulletTab(), "&TIPO DI PALLA");
    m_tabs->addTab(createOptionsTab(), "&Sito -Misure-RSP-PIR");
    m_tabs->setUsesScrollButtons(false);
    m_tabs->setMinimumWidth(m_tabs->tabBar()->sizeHint().width() + 24);
    left->addWidget(m_tabs, 1);

    auto* description = new QLineEdit;
    description->setObjectName(describe(Field::Text10).name);
    description->setAccessibleName("Descrizione");
    m_fields[static_cast<std::size_t>(Field::Text10)] = description;
    connect(description, &QLineEdit::textEdited, this, [this](const QString& text) {
        model().fieldChanged(Field::Text10, text.toStdString());
    });
    left->addWidget(description);

    m_unitSystem = new QLabel;
    m_unitSystem->setObjectName("Label11");
    QFont bold = m_unitSystem->font();
    bold.setBold(true);
    m_unitSystem->setFont(bold);
    left->addWidget(m_unitSystem);
    // The inputs keep their width whether or not the grid is shown beside them.
    leftPane->setFixedWidth(std::max(leftPane->sizeHint().width(), 400));
    body->addWidget(leftPane, 0);

    m_grid = new QTableWidget(0, 8);
    m_grid->setObjectName("Grid1");
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->installEventFilter(this);
    // One Tab stop: the arrows walk the cells, Tab and Shift+Tab leave the table.
    m_grid->setTabKeyNavigation(false);
    m_grid->setAccessibleName("Tabella");
    body->addWidget(m_grid, 1);
    body->addStretch(0);
    outer->addLayout(body, 1);

    // The keyboard starts in the velocity field. The toolbar joins the window last, so that its
    // buttons come last in the tab chain, followed only by the tabs' bar above the fields.
    outer->insertWidget(0, createToolbar());
    m_fields[static_cast<std::size_t>(Field::Text12)]->setFocus();

    resize(1180, 720);
}

// --- refresh ------------------------------------------------------------------------------------

void Form4Window::refresh()
{
    Form4& m = model();
    for (int i = 0; i < kFieldCount; ++i) {
        QLineEdit* edit = m_fields[static_cast<std::size_t>(i)];
        const QString text = qs(m.fieldText(static_cast<Field>(i)));
        if (edit && edit->text() != text) {
            const QSignalBlocker block(edit);
            edit->setText(text);
            edit->setCursorPosition(0);
        }
    }
    for (int i = 0; i < kFieldCount; ++i)
        if (QLabel* label = m_fieldLabels[static_cast<std::size_t>(i)])
            label->setText(qs(m.fieldCaption(static_cast<Field>(i))));
    m_unitSystem->setText(qs(m.unitCaption(UnitLabel::Label11)));

    m_images[0]->setVisible(m.image1Visible());
    for (auto* b : m_siteOptions)
        b->setVisible(m.siteOptionsVisible());
    m_europee->setVisible(m.unitOptionsVisible());
    m_inglesi->setVisible(m.unitOptionsVisible());
    // A frame whose options are all hidden is hidden with them. The site-angle frame keeps
    // its place while the unit frame beside it is shown, so the unit buttons do not jump
    // under the pointer.
    QSizePolicy sitePolicy = m_siteFrame->sizePolicy();
    sitePolicy.setRetainSizeWhenHidden(m.unitOptionsVisible());
    m_siteFrame->setSizePolicy(sitePolicy);
    m_siteFrame->setVisible(m.siteOptionsVisible());
    m_unitFrame->setVisible(m.unitOptionsVisible());
    {
        const QSignalBlocker b1(m_europee), b2(m_inglesi);
        const bool imperial = m.tableMode() == TableMode::Imperial;
        m_europee->setChecked(!imperial);
        m_inglesi->setChecked(imperial);
    }
    for (std::size_t i = 0; i < m_shapes.size(); ++i) {
        const QSignalBlocker block(m_shapes[i]);
        m_shapes[i]->setChecked(m.shapeChecked(18 + static_cast<int>(i)));
    }
    m_rspFrame->setVisible(m.shapeFramesVisible());
    m_pirFrame->setVisible(m.shapeFramesVisible());
    m_hint->setVisible(m.hintVisible());
    m_hint->setText(qs(m.hintText()));
    for (int k = 1; k <= 10; ++k) {
        QRadioButton* b = m_bullets[static_cast<std::size_t>(k - 1)];
        const QSignalBlocker block(b);
        b->setText(literalCaption(m.bulletCaption(k)));
        b->setVisible(m.bulletVisible(k));
        b->setChecked(m.checkedBullet() == k);
        // As in a radio group, Tab enters the ten buttons at the chosen one (or the first) and
        // leaves them with the next Tab; the arrow keys move within.
        const int entry = m.checkedBullet() != 0 ? m.checkedBullet() : 1;
        b->setFocusPolicy(k == entry ? Qt::StrongFocus : Qt::ClickFocus);
    }
    if (m_terminalMenu)
        m_terminalMenu->menuAction()->setEnabled(m.terminalMenuEnabled());
    m_graphicAction->setEnabled(m.graphicMenuEnabled());
    refreshGrid();
    // The range card follows this window's shot while it holds it.
    if (auto* card = m_windows.window<card::CardWindow>(WindowId::Card))
        card->mainShotChanged();
}

void Form4Window::refreshGrid()
{
    const GridContents& g = model().grid();
    m_grid->setVisible(model().gridVisible());
    QStringList headers;
    for (int c = 0; c < 8; ++c)
        headers << QString("%1\n%2\n%3").arg(qs(g.headings[0][c]), qs(g.headings[1][c]),
                                             qs(g.headings[2][c]));
    m_grid->setHorizontalHeaderLabels(headers);
    m_grid->setRowCount(static_cast<int>(g.rows.size()));
    for (int r = 0; r < static_cast<int>(g.rows.size()); ++r) {
        for (int c = 0; c < 8; ++c) {
            const QString text = qs(g.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
            QTableWidgetItem* item = m_grid->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_grid->setItem(r, c, item);
            }
            item->setText(text);
        }
    }
    if (!model().columnWidthsSet())
        return;
    // The widths of the first table are minimums: a column widens where the font would cut a
    // heading or a cell.
    const double dpi = logicalDpiX();
    const QFontMetrics headerMetrics(m_grid->horizontalHeader()->font());
    const QFontMetrics cellMetrics(m_grid->font());
    for (int c = 0; c < 8; ++c) {
        int width = twipsToPixels(g.widths_twips[static_cast<std::size_t>(c)], dpi);
        for (int r = 0; r < 3; ++r)
            width = std::max(width, headerMetrics.horizontalAdvance(qs(g.headings[r][c])) + 14);
        for (const auto& row : g.rows)
            width = std::max(width, cellMetrics.horizontalAdvance(qs(row[static_cast<std::size_t>(c)])) + 12);
        m_grid->setColumnWidth(c, width);
    }
}

void Form4Window::applyFocusRequest()
{
    const auto request = model().takeFocusRequest();
    if (!request)
        return;
    m_programFocus = true;
    if (*request == FocusTarget::Option1)
        m_bullets[0]->setFocus();
    else
        m_fields[static_cast<std::size_t>(Field::Text10)]->setFocus();
    m_programFocus = false;
}

// --- events -------------------------------------------------------------------------------------

bool Form4Window::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && !m_programFocus) {
        if (watched == m_bullets[0])
            act([this] { model().bulletFocused(1); });
        else if (watched == m_bullets[1])
            act([this] { model().bulletFocused(2); });
    }
    if (event->type() == QEvent::KeyPress && bulletKey(watched, static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == m_calcola && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_calcola->click();
            return true;
        }
    }
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copySelection();
        return true;
    }
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        for (int i = 0; i < kToolbarButtons; ++i)
            if (watched == m_images[static_cast<std::size_t>(i)]) {
                act([this, i] { model().pointerOverImage(i + 1); });
                return false;
            }
        if ((watched == centralWidget() || watched == m_toolbar) && event->type() == QEvent::MouseMove)
            act([this] { model().pointerOverBackground(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

bool Form4Window::bulletKey(QObject* watched, const QKeyEvent* event)
{
    const auto current = std::find(m_bullets.begin(), m_bullets.end(), watched);
    if (current == m_bullets.end())
        return false;
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: step = -1; break;
    case Qt::Key_Down:
    case Qt::Key_Right: step = 1; break;
    default: return false;
    }
    // The next shown button that way; the walk stops at either end, as radio groups do.
    for (auto* it = current + step; it >= m_bullets.begin() && it < m_bullets.end(); it += step) {
        QRadioButton* next = *it;
        if (!next->isVisible())
            continue;
        const int button = static_cast<int>(it - m_bullets.begin()) + 1;
        next->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        // Option1 and Option2 choose their bullet on the focus; the others on a click.
        if (button >= 3)
            next->click();
        break;
    }
    return true;
}

void Form4Window::mouseMoveEvent(QMouseEvent* event)
{
    act([this] { model().pointerOverBackground(); });
    QMainWindow::mouseMoveEvent(event);
}

void Form4Window::toolbarClicked(int image)
{
    switch (image) {
    case 1: act([this] { model().graphButton(); }); break;
    case 2: show(WindowId::Cb); break;
    case 3: show(WindowId::Help); break;
    case 4: m_dialogs.message(aboutMessage()); break;
    case 5: model().fine(); break;
    case 6: show(WindowId::Calc); break;
    case 9: act([this] { model().printToolbar(); }); break;
    default: break;
    }
}

void Form4Window::registerWindows()
{
    Form4& m = model();
    m_windows.add<QWidget>(WindowId::Calc, [this] { return new CalcWindow(m_dialogs, this); });
    m_windows.add<QWidget>(WindowId::Cb, [this, &m] { return new CbWindow(m.shot(), m_dialogs, m.decimalSeparator(), this); });
    m_windows.add<GraphWindow>(
        WindowId::Graph, [this, &m] { return new GraphWindow(m.graph(), m, this); },
        [](GraphWindow& graph) { graph.refresh(); });
    m_windows.add<QWidget>(WindowId::GetFile, [this, &m] {
        return new GetFileWindow(m.fileSession(), m, m_dialogs, this);
    });
    m_windows.add<QWidget>(WindowId::SaveFile, [this, &m] {
        return new SaveFileWindow(m.fileSession(), m, m_dialogs, this);
    });
    m_windows.add<HelpWindow>(
        WindowId::Help, [this] { return new HelpWindow(this); },
        [](HelpWindow& help) { help.openContents(); });
    m_windows.add<QWidget>(WindowId::Card, [this, &m] {
        auto* cardWindow = new card::CardWindow(m, this);
        cardWindow->attachArmoury(*m_armoury, m_dialogs);
        return cardWindow;
    });
    m_windows.add<QWidget>(WindowId::Armoury, [this, &m] {
        return new armoury::ArmouryWindow(*m_armoury, m_dialogs, m, this);
    });
    // "IL TIRO" answers for the range card's load and day: the card window opens with it.
    m_windows.add<QWidget>(WindowId::Tiro, [this] {
        auto* cardWindow = dynamic_cast<card::CardWindow*>(m_windows.show(WindowId::Card));
        return new card::TiroWindow(*cardWindow, this);
    });
}

// --- the armoury ------------------------------------------------------------------------------

// The user's rifles and loads, read once at start-up; a document that does not read was set
// aside by the store, and the user is told once the window is up.
void Form4Window::openArmoury()
{
    m_armouryStore = std::make_unique<armoury::QtArmouryStore>();
    armoury::QtArmouryStore::Opening opening = m_armouryStore->open();
    m_armoury = std::make_unique<armoury::ArmourySession>(std::move(opening.armoury), *m_armouryStore);
    if (!opening.notice.empty())
        QTimer::singleShot(0, this, [this, notice = opening.notice] {
            m_dialogs.message({"ARMERIA", notice, MessageIcon::Warning});
        });
}

// --- export ----------------------------------------------------------------------------------

void Form4Window::exportTable()
{
    const QString path = QFileDialog::getSaveFileName(this, "Esporta la tabella", QString(),
                                                      "Tabelle CSV (*.csv)");
    if (path.isEmpty())
        return;
    const std::string csv = exportCsv(model());
    if (const QString why = writeFileBytes(path, QByteArray::fromStdString(csv)); !why.isEmpty())
        m_dialogs.message({"Siacci", writeFailedMessage(path, why).toStdString(), MessageIcon::Warning});
}

void Form4Window::copySelection()
{
    const auto ranges = m_grid->selectedRanges();
    std::optional<CellRange> range;
    if (!ranges.isEmpty())
        range = CellRange{ranges.first().topRow(), ranges.first().leftColumn(),
                          ranges.first().bottomRow(), ranges.first().rightColumn()};
    QGuiApplication::clipboard()->setText(qs(copyCells(model(), range)));
}

// --- WindowHost ---------------------------------------------------------------------------------

void Form4Window::show(WindowId id)
{
    if (id == WindowId::Main)
        QMainWindow::show();
    else
        m_windows.show(id);
}

void Form4Window::close(WindowId id)
{
    if (id == WindowId::Main)
        QMainWindow::close();
    else
        m_windows.close(id);
}

bool Form4Window::isOpen(WindowId id) const
{
    return id == WindowId::Main ? isVisible() : m_windows.isOpen(id);
}

QWidget* Form4Window::window(WindowId id) const
{
    return m_windows.window(id);
}

void Form4Window::setWaitCursor(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace siacci
