#pragma once

#include "files/file_windows.hpp"

#include <QPointer>
#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The open window "APRIFILE" and the save window "SALVA FILE": modeless, centred on the screen,
// deleted when closed (WindowRegistry). Each forwards its widgets' events to its model and shows the model.
namespace siacci {

// The widgets and the refresh both windows share.
class FileWindowBase : public QWidget {
protected:
    FileWindowBase(QWidget* parent, FileWindowModel& model);

    void createWidgets(const char* caption, const char* firstButtonCaption, const char* firstButtonName);
    void connectEvents();
    void centreOnScreen();
    void refresh();
    void finish(WindowOutcome outcome);
    // The width of a text in Label1's font, in twips, for the model's label rule.
    double textWidthTwips(const std::string& text) const;

    FileWindowModel& model() { return m_base; }

    QComboBox* m_drive1 = nullptr;
    QListWidget* m_dir1 = nullptr;
    QListWidget* m_file1 = nullptr;
    QLineEdit* m_text1 = nullptr;
    QLabel* m_label1 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;

private:
    FileWindowModel& m_base; // the derived window's model, built after this base
};

class GetFileWindow : public FileWindowBase {
public:
    GetFileWindow(FileSession& session, ShotFileHost& host, Dialogs& dialogs,
                  QWidget* parent = nullptr);
    const GetFileModel& fileModel() const { return m_model; }

private:
    GetFileModel m_model;
};

class SaveFileWindow : public FileWindowBase {
public:
    SaveFileWindow(FileSession& session, ShotFileHost& host, Dialogs& dialogs,
                   QWidget* parent = nullptr);
    const SaveFileModel& fileModel() const { return m_model; }

private:
    SaveFileModel m_model;
};

} // namespace siacci
