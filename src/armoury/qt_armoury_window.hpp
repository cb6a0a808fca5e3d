#pragma once

#include "armoury/armoury_model.hpp"

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTreeWidget;

// The window "ARMERIA": the user's rifles with their loads as a tree, the form of the selected
// entry, and the buttons that add, duplicate, delete, take a load from the catalogue, export and
// import. A thin view over ArmouryModel. Widgets carry object names for the tests: "tree",
// "rifleForm", "loadForm", the buttons "nuovaArma", "nuovaCarica", "duplica", "elimina",
// "dalCatalogo", "esporta", "importa", "confermaArma", "confermaCarica".
namespace siacci::armoury {

class ArmouryWindow : public QWidget {
    Q_OBJECT

public:
    // The session, dialogs and host must outlive the window.
    ArmouryWindow(ArmourySession& session, Dialogs& dialogs, ArmouryHost& host, QWidget* parent = nullptr);
    ~ArmouryWindow() override;

    ArmouryModel& model() { return m_model; }
    // What "Esporta…" and "Importa…" do once the user has named the file.
    void exportTo(const QString& path);
    void importFrom(const QString& path);
    void refresh();

private:
    void createWidgets();
    QWidget* createRifleForm();
    QWidget* createLoadForm();
    void treeSelectionChanged();
    RifleForm typedRifleForm() const;
    LoadForm typedLoadForm() const;
    template <typename F> void act(F&& f);

    ArmourySession& m_session;
    Dialogs& m_dialogs;
    ArmouryModel m_model;
    int m_subscription = 0;
    bool m_refreshing = false;

    QTreeWidget* m_tree = nullptr;
    QStackedWidget* m_pages = nullptr;
    QLabel* m_hint = nullptr;
    QPushButton *m_addLoad = nullptr, *m_duplicate = nullptr, *m_delete = nullptr,
                *m_fromCatalogue = nullptr, *m_export = nullptr;
    // rifle form
    QLineEdit *m_name = nullptr, *m_sight = nullptr, *m_twist = nullptr, *m_clickValue = nullptr,
              *m_turret = nullptr, *m_zero = nullptr, *m_zeroTemperature = nullptr,
              *m_zeroPressure = nullptr, *m_zeroHumidity = nullptr;
    QComboBox *m_hand = nullptr, *m_clickUnit = nullptr;
    // load form
    QLineEdit *m_description = nullptr, *m_velocity = nullptr, *m_velocityTemperature = nullptr,
              *m_sensitivity = nullptr, *m_bc = nullptr, *m_steps = nullptr, *m_weight = nullptr,
              *m_diameter = nullptr, *m_length = nullptr, *m_notes = nullptr;
    QComboBox* m_drag = nullptr;
    QPlainTextEdit* m_dragTable = nullptr;
    QLabel* m_stepsLabel = nullptr;
    QLabel* m_tableLabel = nullptr;
};

} // namespace siacci::armoury
