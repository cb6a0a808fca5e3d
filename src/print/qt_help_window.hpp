#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

// The help "DIRIDOZ": pages of Italian HTML built into the program, read in a window of its own.
namespace siacci {

inline constexpr const char* kHelpTitle = "DIRIDOZ - Guida di Siacci";

// The contents page, where the help opens.
QUrl helpContentsUrl();

// The help window: the pages in a browser, with Indietro / Avanti through the pages read and
// Indice back to the contents. Shown through the WindowRegistry.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Goes back to the contents page, as each opening of the help does.
    void openContents();
    // The page shown now.
    QUrl currentPage() const;

private:
    void createWidgets();

    QTextBrowser* m_browser = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
    QToolButton* m_home = nullptr;
};

} // namespace siacci
