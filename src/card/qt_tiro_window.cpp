#include "card/qt_tiro_window.hpp"

#include "armoury/card_armoury.hpp"
#include "armoury/qt_card_armoury_panel.hpp"
#include "card/qt_card_window.hpp"
#include "card/qt_card_print.hpp"
#include "common/qt_text.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace siacci::card {

namespace {

QLabel* label(const char* objectName, int pointSize = 0, bool bold = false)
{
    auto* l = new QLabel;
    l->setObjectName(QString::fromLatin1(objectName));
    l->setWordWrap(true);
    if (pointSize > 0 || bold) {
        QFont f = l->font();
        if (pointSize > 0)
            f.setPointSize(pointSize);
        f.setBold(bold);
        l->setFont(f);
    }
    return l;
}

void setIndex(QComboBox* box, int index)
{
    const QSignalBlocker block(box);
    box->setCurrentIndex(index);
}

void setShown(QLabel* l, const std::string& text)
{
    l->setText(qs(text));
    l->setVisible(!text.empty());
}

} // namespace

// --- the reticle ----------------------------------------------------------------------------

ReticleView::ReticleView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tiroReticolo"));
    setMinimumSize(260, 260);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ReticleView::setDrawing(const std::optional<ReticleDrawing>& drawing)
{
    m_drawing = drawing;
    setAccessibleName(drawing ? qs(drawing->caption) : QString());
    update();
}

void ReticleView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height()) - 4;
    const QPointF centre(width() / 2.0, height() / 2.0);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, side / 2, side / 2);
    if (!m_drawing)
        return;
    const double k = side / (2 * m_drawing->extent);
    const auto at = [&](double x, double y) { return QPointF(centre.x() + x * k, centre.y() + y * k); };
    p.setClipRegion(QRegion(QRect(int(centre.x() - side / 2), int(centre.y() - side / 2), int(side), int(side)),
                            QRegion::Ellipse));
    QFont small = font();
    small.setPointSize(8);
    p.setFont(small);
    for (const ReticleShape& s : m_drawing->shapes) {
        const QColor colour = s.role == ShapeRole::Hold      ? QColor(0xd0, 0, 0)
                              : s.role == ShapeRole::RowHold ? QColor(0, 0x50, 0xc8)
                                                             : QColor(Qt::black);
        switch (s.kind) {
        case ShapeKind::Line:
            p.setPen(QPen(colour, s.role == ShapeRole::Post ? 6 : 1));
            p.drawLine(at(s.x1, s.y1), at(s.x2, s.y2));
            break;
        case ShapeKind::Dot: {
            const double r = s.role == ShapeRole::Reticle ? std::max(1.5, s.x2 * k) : s.role == ShapeRole::Hold ? 6 : 3.5;
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawEllipse(at(s.x1, s.y1), r, r);
            break;
        }
        case ShapeKind::Label:
            p.setPen(colour);
            p.drawText(at(s.x1, s.y1), qs(s.text));
            break;
        }
    }
}

// --- the window -----------------------------------------------------------------------------

TiroWindow::TiroWindow(CardWindow& card, QWidget* parent)
    : QWidget(parent), m_card(&card), m_model(card.model())
{
    setObjectName(QStringLiteral("IlTiro"));
    setWindowTitle(QStringLiteral("IL TIRO"));
    setWindowFlag(Qt::Window);
    createWidgets();
    // The card's edits reach the answer; the card window closing takes this one with it.
    card.changed = [this] { cardChanged(); };
    connect(&card, &QObject::destroyed, this, &QWidget::close);
    cardChanged();
}

TiroWindow::~TiroWindow()
{
    if (m_card)
        m_card->changed = nullptr;
}

template <typename F> void TiroWindow::act(F&& f)
{
    f();
    // The scope belongs to the card's rifle: an edit here is kept in it.
    if (m_card && m_card->armouryPanel() && m_model.view().scopeRefusal.empty())
        m_card->armouryPanel()->model().scopeEdited(m_model.scope());
    refresh();
}

void TiroWindow::cardChanged()
{
    if (m_card && m_card->armouryPanel())
        m_model.riflesScope(m_card->armouryPanel()->model().chosenScope());
    m_model.cardChanged();
    refresh();
}

QLineEdit* TiroWindow::addField(TiroField field)
{
    const FieldInfo& info = tiroFieldInfo(field);
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(info.objectName));
    edit->setToolTip(qs(info.tooltip));
    edit->setAccessibleName(qs(info.caption));
    edit->setMaximumWidth(field == TiroField::CustomMarks ? 160 : 90);
    m_fields[static_cast<std::size_t>(field)] = edit;
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
        act([&] { m_model.fieldChanged(field, text.toStdString()); });
        // The angle is the card's own field: the card window shows it at once.
        if (field == TiroField::Angle && m_card)
            m_card->refresh();
    });
    return edit;
}

void TiroWindow::createWidgets()
{
    auto* outer = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    outer->addLayout(left, 1);

    auto* shot = new QFormLayout;
    const auto row = [&](TiroField f, QFormLayout* form) {
        auto* line = new QWidget;
        auto* h = new QHBoxLayout(line);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(addField(f));
        h->addWidget(new QLabel(qs(tiroFieldInfo(f).unit)));
        h->addStretch();
        auto* caption = new QLabel(qs(tiroFieldInfo(f).caption));
        caption->setBuddy(m_fields[static_cast<std::size_t>(f)]);
        form->addRow(caption, line);
        m_rows[static_cast<std::size_t>(f)] = line;
    };
    row(TiroField::Distance, shot);
    row(TiroField::Angle, shot);
    {
        QFont big = m_fields[0]->font();
        big.setPointSize(16);
        m_fields[0]->setFont(big);
        m_fields[1]->setFont(big);
    }
    left->addLayout(shot);

    m_refusal = label("tiroRifiuto");
    m_refusal->setStyleSheet(QStringLiteral("color: #b00000;"));
    left->addWidget(m_refusal);
    auto* answer = new QHBoxLayout;
    m_elevation = label("tiroAlzo", 34, true);
    m_windage = label("tiroDeriva", 34, true);
    m_elevation->setWordWrap(false);
    m_windage->setWordWrap(false);
    answer->addWidget(m_elevation);
    answer->addSpacing(24);
    answer->addWidget(m_windage);
    answer->addStretch();
    left->addLayout(answer);
    m_angles = label("tiroAngoli");
    m_bracket = label("tiroForcella");
    m_hold = label("tiroMira", 16, true);
    m_holdValues = label("tiroMiraValori");
    m_lines = label("tiroRighe");
    m_energy = label("tiroEnergia", 0, true);
    m_energy->setStyleSheet(QStringLiteral("color: #b00000;"));
    // One more summary line, filled by what computes it (the chance of a hit).
    m_extra = label("tiroExtra");
    for (QLabel* l : {m_angles, m_bracket, m_hold, m_holdValues, m_lines, m_energy, m_extra})
        left->addWidget(l);

    auto* scope = new QGroupBox(QStringLiteral("Ottica"));
    auto* scopeForm = new QFormLayout(scope);
    m_reticle = new QComboBox;
    m_reticle->setObjectName(QStringLiteral("tiroReticoli"));
    m_reticle->setAccessibleName(QStringLiteral("Reticolo"));
    for (const Reticle& r : reticles())
        m_reticle->addItem(qs(r.caption));
    connect(m_reticle, &QComboBox::currentIndexChanged, this, [this](int i) { act([&] { m_model.reticleChosen(i); }); });
    scopeForm->addRow(QStringLiteral("&Reticolo"), m_reticle);
    m_plane = new QComboBox;
    m_plane->setObjectName(QStringLiteral("tiroPiano"));
    m_plane->setAccessibleName(QStringLiteral("Piano focale"));
    m_plane->addItems({QStringLiteral("primo piano focale"), QStringLiteral("secondo piano focale")});
    connect(m_plane, &QComboBox::currentIndexChanged, this, [this](int i) {
        act([&] { m_model.focalPlaneChosen(i == 0 ? FocalPlane::First : FocalPlane::Second); });
    });
    scopeForm->addRow(QStringLiteral("Piano focale"), m_plane);
    row(TiroField::Magnification, scopeForm);
    row(TiroField::CalibratedMagnification, scopeForm);
    row(TiroField::PostTip, scopeForm);
    row(TiroField::CustomMarks, scopeForm);
    m_unit = new QComboBox;
    m_unit->setObjectName(QStringLiteral("tiroUnitaTacche"));
    m_unit->setAccessibleName(QStringLiteral("Unità delle tacche"));
    m_unit->addItems({QStringLiteral("mrad"), QStringLiteral("MOA")});
    connect(m_unit, &QComboBox::currentIndexChanged, this, [this](int i) {
        act([&] { m_model.customUnitChosen(i == 1 ? ReticleUnit::Moa : ReticleUnit::Mrad); });
    });
    scopeForm->addRow(QStringLiteral("Unità delle tacche"), m_unit);
    m_scopeRefusal = label("tiroOtticaRifiuto");
    m_scopeRefusal->setStyleSheet(QStringLiteral("color: #b00000;"));
    scopeForm->addRow(m_scopeRefusal);
    left->addWidget(scope);

    auto* ranging = new QGroupBox(QStringLiteral("Distanza dal reticolo"));
    auto* rangeForm = new QFormLayout(ranging);
    m_species = new QComboBox;
    m_species->setObjectName(QStringLiteral("tiroSpecie"));
    m_species->setAccessibleName(QStringLiteral("Animale"));
    for (int i = 0; i < kSpeciesCount; ++i)
        m_species->addItem(qs(speciesCaption(static_cast<Species>(i))));
    connect(m_species, &QComboBox::currentIndexChanged, this,
            [this](int i) { act([&] { m_model.speciesChosen(static_cast<Species>(i)); }); });
    rangeForm->addRow(QStringLiteral("Animale"), m_species);
    row(TiroField::AnimalSize, rangeForm);
    row(TiroField::Reading, rangeForm);
    m_range = label("tiroStima", 14, true);
    m_useRange = new QPushButton(QStringLiteral("&Usa questa distanza"));
    m_useRange->setObjectName(QStringLiteral("tiroUsaStima"));
    connect(m_useRange, &QPushButton::clicked, this, [this] { act([&] { m_model.rangeUsed(); }); });
    rangeForm->addRow(m_range, m_useRange);
    left->addWidget(ranging);
    left->addStretch();

    auto* right = new QVBoxLayout;
    m_view = new ReticleView;
    right->addWidget(m_view, 1);
    m_caption = label("tiroDidascalia");
    right->addWidget(m_caption);
    m_rowHolds = new QCheckBox(QStringLiteral("Le &mire di ogni distanza del cartellino"));
    m_rowHolds->setObjectName(QStringLiteral("tiroTacchePerDistanza"));
    connect(m_rowHolds, &QCheckBox::toggled, this, [this](bool on) { act([&] { m_model.rowHoldsShown(on); }); });
    right->addWidget(m_rowHolds);
    m_print = new QPushButton(QStringLiteral("&Stampa il reticolo"));
    m_print->setObjectName(QStringLiteral("tiroStampa"));
    connect(m_print, &QPushButton::clicked, this, [this] {
        if (const auto card = m_model.reticleCard())
            showCardPreview(*card, this);
    });
    right->addWidget(m_print);
    outer->addLayout(right, 1);

    auto* closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);
    resize(900, 640);
}

void TiroWindow::refresh()
{
    const IlTiro& m = m_model;
    const TiroView& v = m.view();
    for (int i = 0; i < kTiroFieldCount; ++i) {
        const auto field = static_cast<TiroField>(i);
        QLineEdit* edit = m_fields[static_cast<std::size_t>(i)];
        const QString text = qs(m.fieldText(field));
        if (edit->text() != text) {
            const QSignalBlocker block(edit);
            edit->setText(text);
        }
        const std::string message = m.fieldMessage(field);
        edit->setStyleSheet(message.empty() ? QString() : QStringLiteral("background: #ffe0e0;"));
        edit->setToolTip(qs(message.empty() ? tiroFieldInfo(field).tooltip : message));
    }
    m_rows[static_cast<std::size_t>(TiroField::CalibratedMagnification)]->setEnabled(m.calibratedEnabled());
    m_rows[static_cast<std::size_t>(TiroField::PostTip)]->setEnabled(m.postTipShown());
    m_rows[static_cast<std::size_t>(TiroField::CustomMarks)]->setEnabled(m.customMarksShown());
    m_unit->setEnabled(m.customMarksShown());
    setIndex(m_reticle, m.reticleIndex());
    setIndex(m_plane, m.scope().plane == FocalPlane::First ? 0 : 1);
    setIndex(m_unit, m.scope().customUnit == ReticleUnit::Moa ? 1 : 0);
    setIndex(m_species, static_cast<int>(m.species()));
    {
        const QSignalBlocker block(m_rowHolds);
        m_rowHolds->setChecked(m.rowHoldsShown());
    }
    setShown(m_refusal, v.refusal);
    m_elevation->setText(qs(v.elevationText));
    m_windage->setText(qs(v.windageText));
    setShown(m_angles, v.elevationAngles.empty() ? std::string()
                                                 : "Alzo " + v.elevationAngles + " · deriva " + v.windageAngles);
    setShown(m_bracket, v.windBracket);
    setShown(m_hold, v.holdText.empty() ? std::string() : "Mira: " + v.holdText);
    setShown(m_holdValues, v.holdValues);
    std::string lines;
    for (const auto& [caption, value] : v.lines)
        lines += (lines.empty() ? "" : " · ") + caption + " " + value;
    setShown(m_lines, lines);
    setShown(m_energy, v.energyWarning);
    setShown(m_extra, v.extraLine);
    setShown(m_scopeRefusal, v.scopeRefusal);
    setShown(m_range, v.rangeText.empty() ? v.rangeRefusal : v.rangeText);
    m_useRange->setEnabled(!v.rangeText.empty());
    m_caption->setText(v.drawing ? qs(v.drawing->caption) : QString());
    m_view->setDrawing(v.drawing);
    m_print->setEnabled(v.drawing && v.refusal.empty());
}

} // namespace siacci::card
