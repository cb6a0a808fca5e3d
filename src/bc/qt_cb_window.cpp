#include "bc/qt_cb_window.hpp"

#include "common/qt_text.hpp"
#include "common/twips.hpp"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace siacci {

namespace {

// A control's place on the client area, in twips.
struct TwipRect {
    int left, top, width, height;
    int right() const { return left + width; }
};

constexpr int kClientWidth = 4605;
constexpr int kClientHeight = 2760;

constexpr TwipRect kLabel3 = {1080, 120, 2415, 255};
constexpr TwipRect kText1 = {3840, 120, 615, 285};
constexpr TwipRect kLabel4 = {840, 600, 2655, 255};
constexpr TwipRect kText2 = {3840, 600, 615, 285};
constexpr TwipRect kLabel5 = {120, 1080, 3495, 255};
constexpr TwipRect kText3 = {3840, 1080, 615, 285};
constexpr TwipRect kCommand1 = {120, 1560, 2175, 495};
constexpr TwipRect kCommand2 = {2520, 1560, 1935, 495};
constexpr TwipRect kLabel1 = {120, 2280, 3255, 375};
constexpr TwipRect kLabel2 = {3600, 2280, 855, 405};

// The captions stand left of this line and the values right of it. When the system's font is
// wider than the design's, everything right of the line moves right by the same amount and the
// window widens with it, so the layout keeps its look.
constexpr int kValueColumn = 3360;
// The captions reach no further left than the design's margin.
constexpr int kMargin = 120;

constexpr double kControlPoints = 8.25;
constexpr double kResultPoints = 14.25;

const QColor kResultGreen(192, 255, 192);

// MS Sans Serif where the system has it, else the nearest sans serif face of similar width.
QFont controlFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kControlPoints);
    font.setBold(true);
    return font;
}

// Times New Roman where the system has it, else a serif face.
QFont resultFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("Nimbus Roman"), QStringLiteral("Times"),
                      QStringLiteral("DejaVu Serif")});
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(kResultPoints);
    font.setBold(true);
    return font;
}


// The pixels a caption needs: its text and a little air.
int neededWidth(const QLabel* label)
{
    return label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() + 4;
}

} // namespace

CbWindow::CbWindow(ShotInput& shot, Dialogs& dialogs, char decimalSeparator, QWidget* parent)
    : QWidget(parent, Qt::Window), m_model(shot, dialogs, decimalSeparator)
{
    setObjectName(QStringLiteral("CB"));
    setWindowTitle(QStringLiteral("Calcola il Coefficiente Balistico"));
    createWidgets();
    placeWidgets();
    refresh();
}

void CbWindow::createWidgets()
{
    setFont(controlFont());
    auto caption = [this](const char* name, const char* text) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        return label;
    };
    auto field = [this](const char* name, void (CbModel::*set)(std::string)) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        connect(edit, &QLineEdit::textEdited, this,
                [this, set](const QString& text) { (m_model.*set)(text.toStdString()); });
        return edit;
    };
    m_label3 = caption("Label3", "Prima Velocità in metri/sec.");
    m_text1 = field("Text1", &CbModel::setText1);
    m_label4 = caption("Label4", "Seconda Velocità in metri/sec.");
    m_text2 = field("Text2", &CbModel::setText2);
    m_label5 = caption("Label5", "Spazio in metri tra la 1a e la 2a Velocità");
    m_text3 = field("Text3", &CbModel::setText3);
    // A screen reader names each field by the caption beside it.
    m_label3->setBuddy(m_text1);
    m_label4->setBuddy(m_text2);
    m_label5->setBuddy(m_text3);
    m_text1->setAccessibleName(m_label3->text());
    m_text2->setAccessibleName(m_label4->text());
    m_text3->setAccessibleName(m_label5->text());

    m_command1 = new QPushButton(QStringLiteral("CALCOLA"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    connect(m_command1, &QPushButton::clicked, this, [this] {
        m_model.calcola();
        refresh();
    });
    m_command2 = new QPushButton(QStringLiteral("ESCI"), this);
    m_command2->setObjectName(QStringLiteral("Command2"));
    connect(m_command2, &QPushButton::clicked, this, &QWidget::close);

    m_label1 = new QLabel(QStringLiteral("Coefficiente Balistico Cb"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setFont(resultFont());
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_label2 = new QLabel(this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setFont(resultFont());
    m_label2->setAlignment(Qt::AlignCenter);
    m_label2->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette palette = m_label2->palette();
    palette.setColor(QPalette::Window, kResultGreen);
    palette.setColor(QPalette::WindowText, Qt::black);
    m_label2->setPalette(palette);
    m_label2->setAutoFillBackground(true);
}

void CbWindow::placeWidgets()
{
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    const auto px = [dpiX](int twips) { return twipsToPixels(twips, dpiX); };

    // How far the value column must move for every caption to fit: the right-aligned captions
    // may grow leftwards down to the margin, `Label1` rightwards up to the column's edge.
    const int margin = px(kMargin);
    int extra = 0;
    for (const auto& [label, rect] : {std::pair{m_label3, kLabel3}, std::pair{m_label4, kLabel4},
                                      std::pair{m_label5, kLabel5}, std::pair{m_label1, kLabel1}})
        extra = std::max(extra, neededWidth(label) - (px(rect.right()) - margin));

    // Edges are converted one by one, so that controls that meet in twips meet on screen.
    const auto x = [&](int twips) { return px(twips) + (twips > kValueColumn ? extra : 0); };
    const auto y = [dpiY](int twips) { return twipsToPixels(twips, dpiY); };
    const auto place = [&](QWidget* widget, const TwipRect& r, int left) {
        widget->setGeometry(left, y(r.top), x(r.right()) - left, y(r.top + r.height) - y(r.top));
    };
    const auto placeCaption = [&](QLabel* label, const TwipRect& r) {
        place(label, r, std::min(x(r.left), std::max(margin, x(r.right()) - neededWidth(label))));
    };

    setFixedSize(x(kClientWidth), y(kClientHeight));
    placeCaption(m_label3, kLabel3);
    place(m_text1, kText1, x(kText1.left));
    placeCaption(m_label4, kLabel4);
    place(m_text2, kText2, x(kText2.left));
    placeCaption(m_label5, kLabel5);
    place(m_text3, kText3, x(kText3.left));
    place(m_command1, kCommand1, x(kCommand1.left));
    place(m_command2, kCommand2, x(kCommand2.left));
    place(m_label1, kLabel1, x(kLabel1.left));
    // The serif face of the system may stand taller than the design's: grow downwards.
    if (m_label1->height() < m_label1->fontMetrics().height())
        m_label1->resize(m_label1->width(), m_label1->fontMetrics().height());
    place(m_label2, kLabel2, x(kLabel2.left));
    // The result box holds any coefficient the search gives ("99.999", "100") whole: where the
    // serif face is wider than the design's, the box and the window grow to the right.
    const int resultNeed = m_label2->fontMetrics().horizontalAdvance(QStringLiteral("00.000")) +
                           2 * m_label2->frameWidth() + 6;
    if (const int grow = resultNeed - m_label2->width(); grow > 0) {
        m_label2->resize(m_label2->width() + grow, m_label2->height());
        setFixedSize(width() + grow, height());
    }
}

void CbWindow::refresh()
{
    const auto show = [](QLineEdit* edit, const std::string& text) {
        const QString wanted = qs(text);
        if (edit->text() != wanted) {
            const QSignalBlocker block(edit);
            edit->setText(wanted);
        }
    };
    show(m_text1, m_model.text1());
    show(m_text2, m_model.text2());
    show(m_text3, m_model.text3());
    m_label2->setText(qs(m_model.label2()));
}

} // namespace siacci
