#pragma once

#include "graph/graph_host.hpp"
#include "graph/graph_model.hpp"
#include "graph/graph_points.hpp"

#include <QString>
#include <QWidget>

#include <array>

class QAbstractButton;
class QAction;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace siacci {

// frmGraph: the trajectory drawn at one of four range scales, the site-angle options that
// recompute it and the readout of the distance and height under the pointer. Modeless; it
// is deleted when closed (WindowRegistry), while GraphScale lives on in the GraphState.
class GraphWindow : public QWidget {
public:
    GraphWindow(GraphState& state, GraphHost& host, QWidget* parent = nullptr);

    // Re-reads the title line from the state (after the graph button has set it); the drawing
    // stays as it is until a scale is picked.
    void refresh();

    // Saves what the window shows as a PNG image; false when the file cannot be written.
    bool saveImage(const QString& path);

    // As a click on the scale button of that scale.
    void chooseScale(GraphScale scale);

    const GraphWindowModel& model() const { return m_model; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void createActions();
    void createWidgets();
    void askAndSaveImage();
    void onScale(GraphScale scale);
    void onSiteOption(int option);
    UserFrame currentFrame() const;

    GraphWindowModel m_model;
    QAction* m_saveImage = nullptr;
    QLabel* m_title = nullptr;       // Label2
    QLabel* m_metres = nullptr;      // Label7
    QLabel* m_centimetres = nullptr; // Label8
    QLabel* m_notice = nullptr;      // the line that says the curve was cut
    std::array<QRadioButton*, 5> m_siteOptions{};
};

} // namespace siacci
