#pragma once

#include "armoury/truing_panel.hpp"

#include <QGroupBox>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Verifica sul campo": one row under the card's inputs. A thin view over TruingPanel. Object
// names: "osservazione", "valoreOsservato", "unitaOsservata", "distanzaOsservata", "calcolaVerifica",
// "ricavaCoefficiente", "esitoVerifica", "applicaVerifica".
namespace siacci::armoury {

class TruingPanelWidget : public QGroupBox {
public:
    TruingPanelWidget(CardArmoury& armoury, const card::Cartellino& card, QWidget* parent = nullptr);

    TruingPanel& model() { return m_model; }
    void refresh();
    // Called after "Applica" changed the card (the card window recomputes and refreshes).
    std::function<void()> applied;

private:
    template <typename F> void act(F&& f);

    TruingPanel m_model;
    QComboBox* m_observation = nullptr;
    QLineEdit* m_value = nullptr;
    QComboBox* m_unit = nullptr;
    QLineEdit* m_distance = nullptr;
    QPushButton* m_solveBc = nullptr;
    QLabel* m_result = nullptr;
    QPushButton* m_apply = nullptr;
};

} // namespace siacci::armoury
