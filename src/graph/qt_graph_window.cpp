#include "graph/qt_graph_window.hpp"

#include "files/qt_careful_write.hpp"

#include "common/qt_text.hpp"
#include "common/twips.hpp"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRadioButton>
#include <QBuffer>

#include <cmath>
#include <functional>

namespace siacci {
namespace {

constexpr double kClientWidth_twips = 10665;
constexpr double kClientHeight_twips = 7410;
const QColor kScaleButtonColour(255, 224, 192);
// A ring of 5 drawing units is a fraction of a pixel at the wider scales; it is never drawn
// smaller than this, so that every computed point stays visible.
constexpr double kMinRingRadius_px = 2.0;

QColor toQColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

// A label that acts on a click, as the four scale buttons do; with the keyboard, Tab reaches
// it and Space or Enter presses it.
class ClickableLabel : public QLabel {
public:
    ClickableLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
        : QLabel(text, parent), m_onClick(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            m_onClick();
            return;
        }
        QLabel::keyPressEvent(event);
    }
    void paintEvent(QPaintEvent* event) override
    {
        QLabel::paintEvent(event);
        if (hasFocus()) {
            QPainter p(this);
            p.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
            p.drawRect(rect().adjusted(1, 1, -2, -2));
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_onClick();
        QLabel::mouseReleaseEvent(event);
    }

private:
    std::function<void()> m_onClick;
};

} // namespace

GraphWindow::GraphWindow(GraphState& state, GraphHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_model(state, host)
{
    setObjectName("frmGraph");
    setWindowTitle(QString::fromUtf8(kGraphWindowTitle));
    setMouseTracking(true);
    QFont formFont;
    formFont.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans",
                          "Nimbus Sans", "DejaVu Sans"});
    formFont.setStyleHint(QFont::SansSerif);
    formFont.setPointSizeF(8.25);
    formFont.setBold(true);
    setFont(formFont);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    createActions();
    createWidgets();
    refresh();
}

void GraphWindow::createActions()
{
    m_saveImage = new QAction(QString::fromUtf8(kSaveImageAction), this);
    m_saveImage->setObjectName("SalvaImmagine");
    m_saveImage->setShortcut(QKeySequence::Save);
    m_saveImage->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_saveImage, &QAction::triggered, this, [this] { askAndSaveImage(); });
    addAction(m_saveImage);
}

void GraphWindow::createWidgets()
{
    const double dpi = logicalDpiX();
    auto px = [dpi](double twips) { return twipsToPixels(twips, dpi); };
    auto place = [&](QWidget* w, const char* name, double x, double y, double width, double height) {
        w->setObjectName(name);
        w->setGeometry(px(x), px(y), px(width), px(height));
    };
    // A caption wider in the system's font than its place in the design grows, up to an edge
    // (twips) on the side it may take: leftwards for a right-aligned one, else rightwards.
    auto fit = [&](QLabel* label, double edge) {
        const int need = label->fontMetrics().horizontalAdvance(label->text()) + 2;
        QRect r = label->geometry();
        if (need <= r.width())
            return;
        if (label->alignment() & Qt::AlignRight)
            r.setLeft(std::max(px(edge), r.right() + 1 - need));
        else
            r.setWidth(std::min(need, px(edge) - r.left()));
        label->setGeometry(r);
    };
    resize(px(kClientWidth_twips), px(kClientHeight_twips));

    m_title = new QLabel(this);
    place(m_title, "Label2", 0, 0, 10575, 255);

    auto* siteCaption = new QLabel("Angolo di Sito gradi", this);
    place(siteCaption, "Label1", 1440, 360, 1695, 255);
    siteCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fit(siteCaption, 60);

    const char* optionNames[5] = {"Option1", "Option2", "Option3", "Option4", "Option5"};
    const char* optionCaptions[5] = {"0", "15", "30", "45", "60"};
    const double optionX[5] = {3240, 3840, 4560, 5280, 6000};
    const double optionWidth[5] = {495, 615, 615, 615, 615};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        auto* option = new QRadioButton(optionCaptions[i], this);
        place(option, optionNames[i], optionX[i], 360, optionWidth[i], 255);
        group->addButton(option, i);
        connect(option, &QRadioButton::clicked, this, [this, i] { onSiteOption(i); });
        m_siteOptions[i] = option;
    }

    auto* scaleFrame = new QGroupBox("Scala Metri", this);
    place(scaleFrame, "Frame2", 6720, 240, 2175, 615);
    struct ScaleButton { const char* name; const char* caption; double x, width; GraphScale scale; };
    const ScaleButton buttons[4] = {{"Label6", "200", 120, 375, GraphScale::Metres200},
                                    {"Label13", "350", 600, 375, GraphScale::Metres350},
                                    {"Label12", "500", 1080, 375, GraphScale::Metres500},
                                    {"Label11", "1.000", 1560, 495, GraphScale::Metres1000}};
    for (const auto& b : buttons) {
        const GraphScale scale = b.scale;
        auto* label = new ClickableLabel(b.caption, scaleFrame, [this, scale] { onScale(scale); });
        place(label, b.name, b.x, 240, b.width, 255);
        label->setAlignment(Qt::AlignCenter);
        label->setAccessibleName(QStringLiteral("Scala %1 metri").arg(QString::fromUtf8(b.caption)));
        fit(label, b.x + b.width + 60);
        label->setAutoFillBackground(true);
        QPalette pal = label->palette();
        pal.setColor(QPalette::Window, kScaleButtonColour);
        label->setPalette(pal);
    }

    auto* dataFrame = new QGroupBox("Dati", this);
    place(dataFrame, "Frame1", 9000, 240, 1575, 855);
    auto* cm = new QLabel("Cm.:", dataFrame);
    place(cm, "Label9", 120, 240, 375, 255);
    fit(cm, 600);
    m_centimetres = new QLabel(dataFrame);
    place(m_centimetres, "Label8", 600, 240, 735, 255);
    m_centimetres->setAccessibleName("Centimetri sotto il puntatore");
    auto* metri = new QLabel("Metri:", dataFrame);
    place(metri, "Label10", 120, 480, 495, 255);
    fit(metri, 720);
    m_metres = new QLabel(dataFrame);
    place(m_metres, "Label7", 720, 480, 735, 255);
    m_metres->setAccessibleName("Metri sotto il puntatore");

    m_notice = new QLabel(this);
    place(m_notice, "Avviso", 120, kClientHeight_twips - 375, kClientWidth_twips - 240, 255);
    QPalette red = m_notice->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    m_notice->setPalette(red);
}

void GraphWindow::refresh()
{
    m_title->setText(qs(m_model.title()));
    m_notice->setText(qs(m_model.noticeText()));
    m_metres->setText(qs(m_model.metresText()));
    m_centimetres->setText(qs(m_model.centimetresText()));
    for (int i = 0; i < 5; ++i) {
        const QSignalBlocker block(m_siteOptions[i]);
        if (i == m_model.siteOption())
            m_siteOptions[i]->setChecked(true);
    }
    update();
}

void GraphWindow::chooseScale(GraphScale scale)
{
    onScale(scale);
}

void GraphWindow::onScale(GraphScale scale)
{
    m_model.scaleClicked(scale);
    refresh();
}

void GraphWindow::onSiteOption(int option)
{
    // The main window recomputes the points and may show or raise this window meanwhile.
    const QPointer<GraphWindow> self(this);
    m_model.siteAngleClicked(option);
    if (self)
        refresh();
}

UserFrame GraphWindow::currentFrame() const
{
    if (m_model.frame())
        return *m_model.frame();
    return defaultFrame(width(), height(), logicalDpiX());
}

void GraphWindow::paintEvent(QPaintEvent*)
{
    const Picture& picture = m_model.picture();
    if (picture.items.empty())
        return;
    const UserFrame frame = currentFrame();
    const double w = width(), h = height();
    // The visible rectangle in drawing units, with a margin for pens and rings at the edges.
    const double mx = std::abs(frame.width) * 0.05, my = std::abs(frame.height) * 0.05;
    const UserPoint corner1{frame.left - mx, frame.top + (frame.height > 0 ? -my : my)};
    const UserPoint corner2{frame.left + frame.width + mx,
                            frame.top + frame.height + (frame.height > 0 ? my : -my)};
    const auto visible = [&](UserPoint p) { return clipSegment(p, p, corner1, corner2).has_value(); };
    const auto device = [&](UserPoint p) {
        const UserPoint d = toDevice(frame, p, w, h);
        return QPointF(d.x, d.y);
    };
    const double pixelsPerUnitX = w / std::abs(frame.width);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font());
    const QFontMetricsF metrics(font());
    for (const Painted& item : picture.items) {
        if (const auto* line = std::get_if<PaintedLine>(&item)) {
            const auto part = clipSegment(line->from, line->to, corner1, corner2);
            if (!part)
                continue;
            QPen pen(toQColor(line->colour), line->width,
                     line->style == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine,
                     line->width > 1 ? Qt::RoundCap : Qt::FlatCap);
            painter.setPen(pen);
            painter.drawLine(device(part->first), device(part->second));
        } else if (const auto* circle = std::get_if<PaintedCircle>(&item)) {
            if (!visible(circle->centre))
                continue;
            const double radius = std::max(circle->radius * pixelsPerUnitX, kMinRingRadius_px);
            painter.setPen(QPen(toQColor(circle->colour), circle->width));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(device(circle->centre), radius, radius);
        } else if (const auto* text = std::get_if<PaintedText>(&item)) {
            if (!visible(text->at))
                continue;
            // Text stays upright at the font's size: only its corner follows the drawing units.
            painter.setPen(toQColor(text->colour));
            painter.drawText(device(text->at) + QPointF(0, metrics.ascent()), qs(text->text));
        }
    }
}

void GraphWindow::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    m_model.pointerMoved(toUser(currentFrame(), {at.x(), at.y()}, width(), height()));
    m_metres->setText(qs(m_model.metresText()));
    m_centimetres->setText(qs(m_model.centimetresText()));
    QWidget::mouseMoveEvent(event);
}

void GraphWindow::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(m_saveImage);
    menu.exec(event->globalPos());
}

bool GraphWindow::saveImage(const QString& path)
{
    const QImage image = grab().toImage();
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return false;
    return writeFileBytes(path, png).isEmpty();
}

void GraphWindow::askAndSaveImage()
{
    QString path = QFileDialog::getSaveFileName(this, QString::fromUtf8(kSaveImageDialogTitle),
                                                QString(), QString::fromUtf8(kSaveImageFilter));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += ".png";
    if (!saveImage(path))
        QMessageBox::warning(this, windowTitle(), QString::fromUtf8(kSaveImageFailed));
}

} // namespace siacci
