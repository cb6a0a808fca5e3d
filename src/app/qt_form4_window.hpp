#pragma once

#include "app/form4.hpp"
#include "app/qt_dialogs.hpp"
#include "armoury/qt_armoury_store.hpp"
#include "common/qt_windows.hpp"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class QAction;
class QButtonGroup;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QToolButton;

namespace siacci {

// The main window: menus, picture buttons, the three input tabs and the grid. A thin view over
// the Form4 model; every event goes to the model, then the widgets are refreshed from it.
class Form4Window : public QMainWindow, public WindowHost {
    Q_OBJECT

public:
    explicit Form4Window(QWidget* parent = nullptr);
    ~Form4Window() override;

    // The main window's model, which owns the program-wide state.
    Form4& model();

    // WindowHost: the program's other windows, single instances created when first shown,
    // all through one WindowRegistry (registerWindows says how each is made).
    void show(WindowId window) override;
    void close(WindowId window) override;
    bool isOpen(WindowId window) const override;
    void setWaitCursor(bool on) override;
    QWidget* window(WindowId window) const;

    // The user's rifles and loads, shared by ARMERIA and the range card.
    armoury::ArmourySession& armourySession() { return *m_armoury; }

    // Shows every widget as the model says.
    void refresh();

    using QMainWindow::close;
    using QMainWindow::show;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createCatalogueMenus();
    void createWidgets();
    QWidget* createToolbar();
    QWidget* createInputTab();
    QWidget* createBulletTab();
    QWidget* createOptionsTab();
    void openArmoury();
    void registerWindows();
    void toolbarClicked(int image);
    void exportTable();
    void copySelection();
    void applyFocusRequest();
    // An arrow key on a bullet button moves to the next shown one and selects it.
    bool bulletKey(QObject* watched, const QKeyEvent* event);
    void refreshGrid();
    // Runs a model event, then refreshes the widgets.
    template <typename F> void act(F&& f);

    QtDialogs m_dialogs;
    std::unique_ptr<PrintSink> m_printSink;
    std::unique_ptr<armoury::QtArmouryStore> m_armouryStore;
    std::unique_ptr<armoury::ArmourySession> m_armoury;
    std::unique_ptr<Form4> m_form; // the program-wide state: shot, modes, graph, files

    std::array<QLineEdit*, kFieldCount> m_fields{};
    std::array<QLabel*, kFieldCount> m_fieldLabels{}; // null for the description
    std::array<QRadioButton*, 10> m_bullets{};
    QButtonGroup* m_bulletGroup = nullptr;
    std::array<QRadioButton*, 5> m_siteOptions{};
    QRadioButton* m_europee = nullptr;
    QRadioButton* m_inglesi = nullptr;
    QGroupBox* m_siteFrame = nullptr;
    QGroupBox* m_unitFrame = nullptr;
    std::array<QRadioButton*, 8> m_shapes{}; // Option18 ... Option25
    QGroupBox* m_rspFrame = nullptr;
    QGroupBox* m_pirFrame = nullptr;
    std::array<QToolButton*, kToolbarButtons> m_images{};
    QWidget* m_toolbar = nullptr;
    QLabel* m_hint = nullptr;
    QLabel* m_unitSystem = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTableWidget* m_grid = nullptr;
    QPushButton* m_calcola = nullptr;
    QMenu* m_terminalMenu = nullptr;
    QAction* m_graphicAction = nullptr;
    bool m_programFocus = false;
    bool m_closing = false;

    // After the model, so that the windows, which refer to it, go first.
    WindowRegistry m_windows;
};

} // namespace siacci
