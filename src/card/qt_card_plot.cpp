#include "card/qt_card_plot.hpp"

#include <QAreaSeries>
#include <QChart>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLegend>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QFontMetrics>
#include <QValueAxis>

#include <cmath>

#include <algorithm>

namespace siacci::card {

CardPlot::CardPlot(QWidget* parent) : QChartView(parent)
{
    setObjectName(QStringLiteral("Grafico"));
    setAccessibleName(QStringLiteral("Grafico della traiettoria"));
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    m_bandTop = new QLineSeries(chart);
    m_bandBottom = new QLineSeries(chart);
    m_band = new QAreaSeries(m_bandTop, m_bandBottom);
    m_band->setName(QStringLiteral("zona vitale"));
    m_band->setColor(QColor(160, 210, 160, 110));
    m_band->setBorderColor(QColor(120, 180, 120));
    m_sight = new QLineSeries;
    m_sight->setName(QStringLiteral("mira"));
    m_sight->setPen(QPen(Qt::gray, 1));
    m_zero = new QLineSeries;
    m_zero->setName(QStringLiteral("taratura"));
    m_zero->setPen(QPen(QColor(40, 90, 200), 1.5, Qt::DashLine));
    m_energy = new QLineSeries;
    m_energy->setName(QStringLiteral("energia"));
    m_energy->setPen(QPen(QColor(200, 60, 40), 1.5, Qt::DashLine));
    m_path = new QLineSeries;
    m_path->setName(QStringLiteral("traiettoria"));
    m_path->setPen(QPen(Qt::black, 2));
    for (QAbstractSeries* s : std::initializer_list<QAbstractSeries*>{m_band, m_sight, m_zero,
                                                                     m_energy, m_path})
        chart->addSeries(s);
    m_x = new QValueAxis;
    m_x->setTitleText(QStringLiteral("distanza m"));
    m_x->setLabelFormat(QStringLiteral("%.0f"));
    m_y = new QValueAxis;
    m_y->setTitleText(QStringLiteral("traiettoria cm"));
    m_y->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(m_x, Qt::AlignBottom);
    chart->addAxis(m_y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(m_x);
        s->attachAxis(m_y);
    }
    m_hit = new QLineSeries;
    m_hit->setName(QStringLiteral("colpo utile %"));
    m_hit->setPen(QPen(QColor(30, 130, 60), 2));
    m_threshold = new QLineSeries;
    m_threshold->setName(QStringLiteral("soglia"));
    m_threshold->setPen(QPen(QColor(30, 130, 60), 1, Qt::DotLine));
    chart->addSeries(m_hit);
    chart->addSeries(m_threshold);
    m_percent = new QValueAxis;
    m_percent->setTitleText(QStringLiteral("colpo utile %"));
    m_percent->setLabelFormat(QStringLiteral("%.0f"));
    m_percent->setRange(0, 100);
    m_percent->setTickCount(6);
    chart->addAxis(m_percent, Qt::AlignRight);
    for (QLineSeries* s : {m_hit, m_threshold}) {
        s->attachAxis(m_x);
        s->attachAxis(m_percent);
    }
    setChart(chart);
    showHit(false);
    m_readout = new QLabel(this);
    m_readout->setObjectName(QStringLiteral("Lettura"));
    m_readout->setStyleSheet(QStringLiteral("background: rgba(255,255,255,210); padding: 2px;"));
    m_readout->move(70, 8);
    m_readout->hide();
}

void CardPlot::showHit(bool on)
{
    m_percent->setVisible(on);
    for (QLineSeries* s : {m_hit, m_threshold}) {
        s->setVisible(on);
        for (QLegendMarker* marker : chart() ? chart()->legend()->markers(s) : QList<QLegendMarker*>())
            marker->setVisible(on);
    }
}

void CardPlot::setSheet(const CardSheet& sheet)
{
    m_sheet = &sheet;
    QList<QPointF> hit;
    for (const auto& [d, p] : sheet.hitCurve)
        hit.append(QPointF(d, p));
    m_hit->replace(hit);
    if (!hit.isEmpty())
        m_threshold->replace({QPointF(0, sheet.hitThreshold_pct),
                              QPointF(std::max(hit.back().x(), sheet.setup.span.maxDistance_m),
                                      sheet.hitThreshold_pct)});
    showHit(!hit.isEmpty());
    QList<QPointF> path;
    for (const auto& [d, p] : sheet.curve)
        path.append(QPointF(d, p));
    m_path->replace(path);
    if (path.isEmpty()) {
        for (QLineSeries* s : {m_sight, m_zero, m_energy, m_bandTop, m_bandBottom})
            s->clear();
        m_readout->hide();
        return;
    }
    // The axis runs to the table's last distance, in round steps (the curve's last point may
    // stop a little short of it: 798 m for 800).
    const double maxD = std::max(path.back().x(), sheet.setup.span.maxDistance_m);
    double lo = 0, hi = 0;
    for (const QPointF& p : path) {
        lo = std::min(lo, p.y());
        hi = std::max(hi, p.y());
    }
    const double half = sheet.setup.vitalZone_cm.value_or(0) / 2;
    lo = std::min(lo, -half);
    hi = std::max(hi, half);
    const double pad = (hi - lo) * 0.05 + 1;
    lo -= pad;
    hi += pad;
    {
        // Round ticks: 0, 100 ... 500; 0, 200 ... 800 (the range ends on a tick).
        const double raw = maxD / 5;
        const double p10 = std::pow(10, std::floor(std::log10(raw)));
        double step = 10 * p10;
        for (double m : {1.0, 2.0, 2.5, 5.0})
            if (raw <= m * p10) {
                step = m * p10;
                break;
            }
        const int intervals = static_cast<int>(std::ceil(maxD / step - 1e-9));
        m_x->setRange(0, intervals * step);
        m_x->setTickCount(intervals + 1);
    }
    m_low = lo;
    m_high = hi;
    m_sight->replace({QPointF(0, 0), QPointF(maxD, 0)});
    if (half > 0) {
        m_bandTop->replace({QPointF(0, half), QPointF(maxD, half)});
        m_bandBottom->replace({QPointF(0, -half), QPointF(maxD, -half)});
    } else {
        m_bandTop->clear();
        m_bandBottom->clear();
    }
    const double zero = sheet.setup.zeroing.zeroDistance_m;
    m_zeroAt = zero <= maxD ? std::optional(zero) : std::nullopt;
    m_energyAt = sheet.energyAboveMinimumTo_m && *sheet.energyAboveMinimumTo_m < maxD
                     ? sheet.energyAboveMinimumTo_m
                     : std::nullopt;
    fitVerticalAxis();
}

void CardPlot::fitVerticalAxis()
{
    if (m_path->count() == 0)
        return;
    // The plot area is the view less the horizontal axis's labels and title, the margins and,
    // below, the legend: about four lines of labels, six with the legend under the plot.
    const int line = QFontMetrics(m_y->labelsFont()).height();
    const bool legendBelow = chart()->legend()->alignment() == Qt::AlignBottom;
    const double area = std::max(1.0, height() - (legendBelow ? 6.0 : 4.0) * line);
    // Labels at least a line and a half apart, at most eight intervals, in steps of 1, 2, 2.5
    // or 5 times a power of ten.
    const int intervals = std::clamp(static_cast<int>(area / (1.5 * line)), 1, 8);
    const double raw = (m_high - m_low) / intervals;
    const double p10 = std::pow(10, std::floor(std::log10(raw)));
    double step = 10 * p10;
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (raw <= m * p10) {
            step = m * p10;
            break;
        }
    const double low = std::floor(m_low / step) * step;
    const double high = std::ceil(m_high / step) * step;
    m_y->setRange(low, high);
    m_y->setTickCount(static_cast<int>(std::lround((high - low) / step)) + 1);
    const QString title = QStringLiteral("traiettoria cm");
    const bool room = QFontMetrics(m_y->titleFont()).horizontalAdvance(title) + 2 * line < area;
    m_y->setTitleText(room ? title : QStringLiteral("cm"));
    if (m_zeroAt)
        m_zero->replace({QPointF(*m_zeroAt, low), QPointF(*m_zeroAt, high)});
    else
        m_zero->clear();
    if (m_energyAt)
        m_energy->replace({QPointF(*m_energyAt, low), QPointF(*m_energyAt, high)});
    else
        m_energy->clear();
}

QString CardPlot::readout() const
{
    return m_readout->isVisible() ? m_readout->text() : QString();
}

void CardPlot::pointAt(double distance_m)
{
    const std::string text = m_sheet ? readoutAt(*m_sheet, distance_m) : std::string();
    m_readout->setText(QString::fromStdString(text));
    m_readout->adjustSize();
    m_readout->setVisible(!text.empty());
}

void CardPlot::resizeEvent(QResizeEvent* event)
{
    // A short plot (a small screen, large type) keeps its height for the curve and the axes,
    // whose labels and titles Qt Charts would otherwise cut ("traie..."): the legend goes to
    // the right of it.
    const bool shortPlot = event->size().height() < 16 * fontMetrics().height();
    const Qt::Alignment wanted = shortPlot ? Qt::AlignRight : Qt::AlignBottom;
    if (chart()->legend()->alignment() != wanted)
        chart()->legend()->setAlignment(wanted);
    QChartView::resizeEvent(event);
    fitVerticalAxis();
}

void CardPlot::mouseMoveEvent(QMouseEvent* event)
{
    if (chart()->plotArea().contains(event->position()))
        pointAt(chart()->mapToValue(event->position(), m_path).x());
    else
        m_readout->hide();
    QChartView::mouseMoveEvent(event);
}

} // namespace siacci::card
