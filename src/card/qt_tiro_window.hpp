#pragma once

#include "card/il_tiro.hpp"

#include <QPointer>
#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace siacci::card {

class CardWindow;

// The reticle as the core draws it (ReticleDrawing), with the hold of the shot in red and the
// holds of the card's distances in blue.
class ReticleView : public QWidget {
public:
    explicit ReticleView(QWidget* parent = nullptr);
    void setDrawing(const std::optional<ReticleDrawing>& drawing);
    QSize sizeHint() const override { return {340, 340}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<ReticleDrawing> m_drawing;
};

// The window "IL TIRO": the distance and the angle first, the answer in large type, the hold on
// the hunter's reticle drawn beside it, the scope and ranging with the reticle under it. The
// load, the rifle and the day are the range card's: the window shows the open card's model and
// closes with it. Object names: "tiroAlzo", "tiroDeriva", "tiroMira", "tiroReticolo" and the
// fields' own.
class TiroWindow : public QWidget {
public:
    explicit TiroWindow(CardWindow& card, QWidget* parent = nullptr);
    ~TiroWindow() override;

    IlTiro& model() { return m_model; }
    void refresh();

private:
    void createWidgets();
    QLineEdit* addField(TiroField field);
    template <typename F> void act(F&& f);
    void cardChanged();

    QPointer<CardWindow> m_card;
    IlTiro m_model;
    std::array<QLineEdit*, kTiroFieldCount> m_fields{};
    std::array<QWidget*, kTiroFieldCount> m_rows{};
    QLabel* m_refusal = nullptr;
    QLabel* m_elevation = nullptr;
    QLabel* m_windage = nullptr;
    QLabel* m_angles = nullptr;
    QLabel* m_bracket = nullptr;
    QLabel* m_hold = nullptr;
    QLabel* m_holdValues = nullptr;
    QLabel* m_lines = nullptr;
    QLabel* m_energy = nullptr;
    QLabel* m_extra = nullptr;
    QLabel* m_scopeRefusal = nullptr;
    QLabel* m_caption = nullptr;
    QLabel* m_range = nullptr;
    QPushButton* m_useRange = nullptr;
    QPushButton* m_print = nullptr;
    QComboBox* m_reticle = nullptr;
    QComboBox* m_plane = nullptr;
    QComboBox* m_unit = nullptr;
    QComboBox* m_species = nullptr;
    QCheckBox* m_rowHolds = nullptr;
    ReticleView* m_view = nullptr;
};

} // namespace siacci::card
