#pragma once

#include "graph/graph_drawing.hpp"
#include "graph/graph_host.hpp"
#include "graph/graph_points.hpp"

#include <optional>
#include <string>

// The graph window frmGraph without its widgets: the four scale buttons, the five site-angle
// options, the pointer readout and the current drawing.
namespace siacci {

// Texts of the window that are the program's own, beyond its captions.
inline constexpr const char* kGraphWindowTitle = "Grafico della traiettoria";
inline constexpr const char* kSaveImageAction = "Salva immagine…";
inline constexpr const char* kSaveImageDialogTitle = "Salva il grafico come immagine";
inline constexpr const char* kSaveImageFilter = "Immagini PNG (*.png)";
inline constexpr const char* kSaveImageFailed = "Non è stato possibile salvare l'immagine.";
inline constexpr const char* kGraphTruncatedNotice =
    "Incremento troppo piccolo: il grafico mostra solo i primi 499 punti.";

class GraphWindowModel {
public:
    GraphWindowModel(GraphState& state, GraphHost& host);

    // Label6, Label13, Label12, Label11: sets GraphScale and draws at that scale.
    void scaleClicked(GraphScale scale);
    // Option1..Option5 as 0..4: hands the site angle to the main window, which recomputes the
    // points, then redraws at GraphScale if one is set.
    void siteAngleClicked(int option);
    // The pointer at user coordinates of the current coordinate system (see frame()).
    void pointerMoved(UserPoint user);

    const DrawCommands& drawing() const { return m_drawing; }
    const Picture& picture() const { return m_picture; }
    // The coordinate system of the last drawing; none before the first (the default twips).
    const std::optional<UserFrame>& frame() const { return m_picture.frame; }
    // The option last chosen in this window, -1 before any.
    int siteOption() const { return m_siteOption; }

    const std::string& title() const { return m_state.Label2; }       // Label2
    const std::string& metresText() const { return m_metres; }         // Label7
    const std::string& centimetresText() const { return m_centimetres; } // Label8
    // The line under the drawing: why the curve stops short of 1000 m, or "".
    std::string noticeText() const { return m_state.truncated ? kGraphTruncatedNotice : ""; }

private:
    void redraw(GraphScale scale);

    GraphState& m_state;
    GraphHost& m_host;
    DrawCommands m_drawing;
    Picture m_picture;
    int m_siteOption = -1;
    std::string m_metres, m_centimetres;
};

} // namespace siacci
