#include "calc/qt_calc_window.hpp"

#include "common/qt_text.hpp"
#include "common/twips.hpp"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace siacci {

namespace {

// A control's place on the client area, in twips.
struct TwipRect {
    int left, top, width, height;
};

constexpr int kClientWidth = 3060;
constexpr int kClientHeight = 6510;
constexpr int kKeyWidth = 495;
constexpr int kKeyHeight = 375;

constexpr TwipRect kReadout = {0, 120, 3015, 375};
// number(i): "7" "9" "8" / "4" "5" "6" / "1" "2" "3" in rows of three, then the wide "0".
constexpr TwipRect kNumber[kNumberKeys] = {
    {0, 600, kKeyWidth, kKeyHeight},    {1200, 600, kKeyWidth, kKeyHeight},
    {600, 600, kKeyWidth, kKeyHeight},  {0, 1080, kKeyWidth, kKeyHeight},
    {600, 1080, kKeyWidth, kKeyHeight}, {1200, 1080, kKeyWidth, kKeyHeight},
    {0, 1560, kKeyWidth, kKeyHeight},   {600, 1560, kKeyWidth, kKeyHeight},
    {1200, 1560, kKeyWidth, kKeyHeight}, {0, 2040, 1215, kKeyHeight}};
constexpr TwipRect kDecimal = {2520, 1560, kKeyWidth, kKeyHeight};
// operator(i): "+" "-" "X" "/" "=".
constexpr TwipRect kOperator[kOperatorKeys] = {
    {1920, 1080, kKeyWidth, kKeyHeight}, {2520, 600, kKeyWidth, kKeyHeight},
    {1920, 600, kKeyWidth, kKeyHeight},  {2520, 1080, kKeyWidth, kKeyHeight},
    {1920, 1560, kKeyWidth, kKeyHeight}};
constexpr TwipRect kCancel = {1320, 2040, kKeyWidth, kKeyHeight};
constexpr TwipRect kCommand1 = {1920, 2040, 1095, kKeyHeight};
constexpr TwipRect kLabel[4] = {
    {0, 2520, 1455, 255}, {1560, 2520, 1455, 255}, {0, 2880, 1455, 255}, {1560, 2880, 1455, 255}};
// dea(i): two columns, row i / 2, left column for even i.
constexpr int kDeaLeft[2] = {0, 1560};
constexpr int kDeaTop = 3240;
constexpr int kDeaPitch = 480;
constexpr int kDeaWidth = 1455;
constexpr int kDeaHeight = 375;

const QColor kYellow(255, 255, 128);

// The font of the keys and labels, at most this size; smaller where a caption would not fit.
constexpr double kKeyFontPoints = 8.0;
constexpr double kSmallestFontPoints = 5.5;
constexpr double kReadoutFontPoints = 9.75;

QFont sansFont(double points, bool bold)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The largest size, down to kSmallestFontPoints, at which every text fits in `room` pixels.
QFont fittingFont(const QStringList& texts, int room)
{
    for (double points = kKeyFontPoints; points > kSmallestFontPoints; points -= 0.25) {
        const QFont font = sansFont(points, false);
        const QFontMetrics metrics(font);
        bool fits = true;
        for (const QString& text : texts)
            fits = fits && metrics.horizontalAdvance(text) <= room;
        if (fits)
            return font;
    }
    return sansFont(kSmallestFontPoints, false);
}

// The display and the value boxes take any number the calculator writes ("-1.23456789012345E-308"
// is the longest) whole: at their own size when it fits, smaller until it does.
constexpr double kSmallestNumberPoints = 4.5;

void showNumber(QLabel* label, const QFont& base, const QString& text)
{
    const int room = label->contentsRect().width() - 2 * label->indent();
    QFont font = base;
    while (font.pointSizeF() - 0.25 >= kSmallestNumberPoints && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    if (label->font() != font)
        label->setFont(font);
    label->setText(text);
}

void paintYellow(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, kYellow);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
}

} // namespace

CalcWindow::CalcWindow(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_calc(dialogs)
{
    setObjectName(QStringLiteral("Calc"));
    setWindowTitle(QStringLiteral("Calcolatrice&Conversioni"));
    setFocusPolicy(Qt::StrongFocus);
    createWidgets();
    placeWidgets();
    fitFonts();
    refresh();
}

QPushButton* CalcWindow::makeKey(const QString& name, const QString& caption, int index)
{
    auto* key = new QPushButton(caption, this);
    key->setObjectName(index < 0 ? name : name + QLatin1Char('_') + QString::number(index));
    if (index >= 0)
        key->setProperty("index", index);
    // The keys take no focus, so that every typed key reaches the calculator.
    key->setFocusPolicy(Qt::NoFocus);
    return key;
}

void CalcWindow::createWidgets()
{
    m_readout = new QLabel(this);
    m_readout->setObjectName(QStringLiteral("Readout"));
    m_readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_readout->setIndent(4);
    paintYellow(m_readout);

    for (int i = 0; i < 4; ++i) {
        m_labels[i] = new QLabel(this);
        m_labels[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        m_labels[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_labels[i]->setIndent(2);
    }
    paintYellow(m_labels[2]);
    paintYellow(m_labels[3]);

    auto act = [this](auto&& press) {
        return [this, press] {
            press();
            refresh();
        };
    };
    for (int i = 0; i < kNumberKeys; ++i) {
        m_number[i] = makeKey(QStringLiteral("number"), qs(numberCaption(i)), i);
        connect(m_number[i], &QPushButton::clicked, this, act([this, i] { m_calc.number(i); }));
    }
    m_decimal = makeKey(QStringLiteral("decimal"), QStringLiteral("."), -1);
    connect(m_decimal, &QPushButton::clicked, this, act([this] { m_calc.decimal(); }));
    for (int i = 0; i < kOperatorKeys; ++i) {
        m_operator[i] = makeKey(QStringLiteral("operator"), qs(operatorCaption(i)), i);
        connect(m_operator[i], &QPushButton::clicked, this,
                act([this, i] { m_calc.operatorKey(i); }));
    }
    m_cancel = makeKey(QStringLiteral("Cancel"), QStringLiteral("C"), -1);
    connect(m_cancel, &QPushButton::clicked, this, act([this] { m_calc.cancel(); }));
    m_command1 = makeKey(QStringLiteral("Command1"), QStringLiteral("ESCI"), -1);
    connect(m_command1, &QPushButton::clicked, this, &QWidget::close);
    for (int i = 0; i < kConversionKeys; ++i) {
        m_dea[i] = makeKey(QStringLiteral("dea"), qs(conversionKey(i)->caption), i);
        connect(m_dea[i], &QPushButton::clicked, this, act([this, i] { m_calc.dea(i); }));
    }
}

void CalcWindow::placeWidgets()
{
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    // Edges are converted one by one, so that controls that meet in twips meet on screen.
    auto place = [&](QWidget* widget, const TwipRect& r) {
        const int left = twipsToPixels(r.left, dpiX);
        const int top = twipsToPixels(r.top, dpiY);
        widget->setGeometry(left, top, twipsToPixels(r.left + r.width, dpiX) - left,
                            twipsToPixels(r.top + r.height, dpiY) - top);
    };
    setFixedSize(twipsToPixels(kClientWidth, dpiX), twipsToPixels(kClientHeight, dpiY));
    place(m_readout, kReadout);
    for (int i = 0; i < 4; ++i)
        place(m_labels[i], kLabel[i]);
    for (int i = 0; i < kNumberKeys; ++i)
        place(m_number[i], kNumber[i]);
    place(m_decimal, kDecimal);
    for (int i = 0; i < kOperatorKeys; ++i)
        place(m_operator[i], kOperator[i]);
    place(m_cancel, kCancel);
    place(m_command1, kCommand1);
    for (int i = 0; i < kConversionKeys; ++i)
        place(m_dea[i], {kDeaLeft[i % 2], kDeaTop + kDeaPitch * (i / 2), kDeaWidth, kDeaHeight});
}

// The display is bold 9.75 pt and the calculator keys 8 pt; the conversion keys and the unit
// labels take one size at which the longest caption ("Centimetri/Inches") and unit name
// ("KILOGRAMMETRI") fit their narrow controls with whatever font the system gives.
void CalcWindow::fitFonts()
{
    m_readoutFont = sansFont(kReadoutFontPoints, true);
    m_readout->setFont(m_readoutFont);

    QStringList captions;
    for (auto* key : m_dea)
        captions << key->text();
    const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, m_dea[0]) +
                       2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_dea[0]);
    // A little air on both sides, so that the caption does not touch the bevel.
    const int air = twipsToPixels(60, logicalDpiX());
    const QFont keyFont = fittingFont(captions, m_dea[0]->width() - margin - air);

    QStringList units;
    for (int i = 0; i < kConversionKeys; ++i)
        units << qs(conversionKey(i)->fromUnit);
    const int labelRoom = m_labels[0]->contentsRect().width() - 2 * m_labels[0]->indent();
    const QFont labelFont = fittingFont(units, labelRoom);
    const QFont font = keyFont.pointSizeF() < labelFont.pointSizeF() ? keyFont : labelFont;

    for (auto* key : m_dea)
        key->setFont(font);
    for (auto* label : m_labels)
        label->setFont(font);
    m_valueFont = font;
    const QFont calculatorFont = sansFont(kKeyFontPoints, false);
    for (auto* key : m_number)
        key->setFont(calculatorFont);
    for (auto* key : m_operator)
        key->setFont(calculatorFont);
    for (auto* key : {m_decimal, m_cancel, m_command1})
        key->setFont(calculatorFont);
}

void CalcWindow::refresh()
{
    showNumber(m_readout, m_readoutFont, qs(m_calc.readout()));
    m_labels[0]->setText(qs(m_calc.label1()));
    m_labels[1]->setText(qs(m_calc.label2()));
    showNumber(m_labels[2], m_valueFont, qs(m_calc.label3()));
    showNumber(m_labels[3], m_valueFont, qs(m_calc.label4()));
}

void CalcWindow::keyPressEvent(QKeyEvent* event)
{
    char typed = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        typed = '\r';
    else if (event->key() == Qt::Key_Escape)
        typed = '\x1b';
    else if (event->text().size() == 1 && event->text()[0].unicode() < 128)
        typed = static_cast<char>(event->text()[0].unicode());
    const auto key = typed ? keyForTyped(typed) : std::nullopt;
    if (!key) {
        QWidget::keyPressEvent(event);
        return;
    }
    // A typed key is the click of its button, so that both go the same way.
    QPushButton* button = nullptr;
    switch (key->kind) {
    case TypedKey::Kind::Number:
        button = m_number[static_cast<std::size_t>(key->index)];
        break;
    case TypedKey::Kind::Point:
        button = m_decimal;
        break;
    case TypedKey::Kind::Operator:
        button = m_operator[static_cast<std::size_t>(key->index)];
        break;
    case TypedKey::Kind::Cancel:
        button = m_cancel;
        break;
    }
    button->click();
    event->accept();
}

} // namespace siacci
