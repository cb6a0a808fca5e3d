#pragma once

#include "card/card_sheet.hpp"

#include <QChartView>

#include <optional>

class QLabel;
class QLineSeries;
class QAreaSeries;
class QValueAxis;

namespace siacci::card {

// The card's trajectory: path against distance, the vital-zone band, the line of sight, the
// zero and the energy threshold, with a readout of the point under the pointer; with
// "Distanza etica", the chance of a hit against distance and its threshold (right axis, %).
class CardPlot : public QChartView {
public:
    explicit CardPlot(QWidget* parent = nullptr);
    void setSheet(const CardSheet& sheet);
    // What the readout says now.
    QString readout() const;
    // As if the pointer stood over this distance.
    void pointAt(double distance_m);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The vertical axis for the plot's height: round steps, as many as the labels have room
    // for, and the title shortened to its unit where the full one would be cut.
    void fitVerticalAxis();
    void showHit(bool on);
    const CardSheet* m_sheet = nullptr;
    double m_low = 0, m_high = 0;       // the heights the axis must show, cm
    std::optional<double> m_zeroAt;     // the zero's distance, when on the plot
    std::optional<double> m_energyAt;   // where the energy falls below the minimum
    QLineSeries* m_path = nullptr;
    QLineSeries* m_sight = nullptr;
    QLineSeries* m_zero = nullptr;
    QLineSeries* m_energy = nullptr;
    QLineSeries* m_bandTop = nullptr;
    QLineSeries* m_bandBottom = nullptr;
    QAreaSeries* m_band = nullptr;
    QValueAxis* m_x = nullptr;
    QValueAxis* m_y = nullptr;
    QLineSeries* m_hit = nullptr;       // the chance of a hit, on its own axis
    QLineSeries* m_threshold = nullptr;
    QValueAxis* m_percent = nullptr;
    QLabel* m_readout = nullptr;
};

} // namespace siacci::card
