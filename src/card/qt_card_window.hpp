#pragma once

#include "card/card_layout.hpp"
#include "card/cartellino.hpp"

#include <QWidget>

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QToolBox;
class QVBoxLayout;

namespace siacci {
class Dialogs;
namespace armoury {
class ArmourySession;
class CardArmouryPanel;
} // namespace armoury
} // namespace siacci

namespace siacci::card {

class CardPlot;

// The wind's clock face: twelve hours, an arrow from the hour the wind comes from; a click picks
// the hour (the model decides which). It takes the keyboard too: the arrows move the wind by an
// hour (Shift: half an hour).
class ClockFace : public QWidget {
public:
    explicit ClockFace(QWidget* parent = nullptr);
    void setHours(double hours);
    double hours() const { return m_hours; }
    std::function<void(double x, double y)> clicked;  // from the centre, y downward, in radii
    std::function<void(int halfHours)> stepped;       // clockwise positive

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    double m_hours = 3;
};

// The window "CARTELLINO DI TIRO": its inputs in five frames, the card recomputed at every
// edit, the lines under it, the plot, and printing in two layouts. Modeless; one at a time,
// opened through the main window.
class CardWindow : public QWidget {
public:
    explicit CardWindow(const CardHost& host, QWidget* parent = nullptr);
    // Nothing follows the card once it goes: `changed` is dropped before the model is.
    ~CardWindow() override;

    Cartellino& model() { return m_model; }
    void refresh();
    // The main window's shot may have changed: the card follows it if the model says so.
    void mainShotChanged();
    // "Stampa": the print preview of the chosen layout (0 pocket, 1 full page).
    void print();
    PrintedCard printedCard() const;
    CardPlot* plot() const { return m_plot; }
    // The boxes "Arma" and "Carica" and "Verifica sul campo" over the user's armoury.
    void attachArmoury(armoury::ArmourySession& session, Dialogs& dialogs);
    armoury::CardArmouryPanel* armouryPanel() const { return m_armoury; }
    // Called after every refresh: another window showing this card ("IL TIRO") follows it.
    std::function<void()> changed;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createWidgets();
    QWidget* createBulletFrame();
    QWidget* createRifleFrame();
    QWidget* createConditionsFrame();
    QWidget* createTableFrame();
    QWidget* createMethodFrame();
    QWidget* createHitFrame();
    void arrangeBody(QVBoxLayout* outer);
    void quietScrollAreas();
    QLineEdit* addField(QFormLayout* form, CardField field);
    void refreshGrid();
    template <typename F> void act(F&& f);

    Cartellino m_model;
    std::array<QLineEdit*, kCardFieldCount> m_fields{};
    QComboBox* m_dragModel = nullptr;
    QComboBox* m_hand = nullptr;
    QComboBox* m_click = nullptr;
    QComboBox* m_pressureMode = nullptr;
    QComboBox* m_species = nullptr;
    QCheckBox* m_hitOn = nullptr;
    QComboBox* m_rangeFinder = nullptr;
    QComboBox* m_windReading = nullptr;
    QComboBox* m_position = nullptr;
    QComboBox* m_aim = nullptr;
    QComboBox* m_layout = nullptr;
    QPushButton* m_print = nullptr;
    QTableWidget* m_steps = nullptr;
    ClockFace* m_clock = nullptr;
    QLabel* m_windDirection = nullptr;
    QRadioButton* m_pointMass = nullptr;
    QRadioButton* m_siacci = nullptr;
    QCheckBox* m_compare = nullptr;
    QLabel* m_hint = nullptr;
    QLabel* m_source = nullptr;
    QPushButton* m_follow = nullptr;
    QLabel* m_refusal = nullptr;
    QTableWidget* m_grid = nullptr;
    QToolBox* m_inputs = nullptr;
    QLabel* m_notes = nullptr;
    CardPlot* m_plot = nullptr;
    armoury::CardArmouryPanel* m_armoury = nullptr;
};

} // namespace siacci::card
