#pragma once

#include "armoury/card_armoury.hpp"
#include "armoury/qt_truing_panel.hpp"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

// The armoury in the range card: the boxes "Arma" and "Carica", "Salva nell'armeria", the
// velocity corrected for the temperature, and under them "Verifica sul campo". A thin view over
// CardArmoury. Object names: "arma", "carica", "salvaArmeria", "v0Corretta", "statoArmeria".
namespace siacci::armoury {

class CardArmouryPanel : public QWidget {
public:
    CardArmouryPanel(ArmourySession& session, Dialogs& dialogs, card::Cartellino& card, QWidget* parent = nullptr);
    ~CardArmouryPanel() override;

    CardArmoury& model() { return m_model; }
    TruingPanelWidget* truing() const { return m_truing; }
    // After every edit of the card, before it is shown again.
    void cardEdited() { m_model.cardEdited(); }
    void refresh();
    // Called when the panel changed the card's inputs: the card window shows them.
    std::function<void()> cardChanged;

private:
    template <typename F> void act(F&& f);

    ArmourySession& m_session;
    CardArmoury m_model;
    int m_subscription = 0;
    QComboBox* m_rifle = nullptr;
    QComboBox* m_load = nullptr;
    QPushButton* m_save = nullptr;
    QLabel* m_velocity = nullptr;
    QLabel* m_status = nullptr;
    TruingPanelWidget* m_truing = nullptr;
};

} // namespace siacci::armoury
