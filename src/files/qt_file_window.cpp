#include "files/qt_file_window.hpp"

#include "common/qt_text.hpp"
#include "common/twips.hpp"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>


namespace siacci {

namespace {


// Replaces the items of a list only when they differ, so that the scroll position survives a
// refresh that changed nothing.
bool sameTexts(const QListWidget& list, const QStringList& texts)
{
    if (list.count() != texts.size())
        return false;
    for (int i = 0; i < texts.size(); ++i)
        if (list.item(i)->text() != texts[i])
            return false;
    return true;
}

} // namespace

// ---- FileWindowBase -------------------------------------------------------------------------

FileWindowBase::FileWindowBase(QWidget* parent, FileWindowModel& model)
    : QWidget(parent, Qt::Window), m_base(model)
{
}

void FileWindowBase::createWidgets(const char* caption, const char* firstButtonCaption,
                                   const char* firstButtonName)
{
    setWindowTitle(QString::fromUtf8(caption));
    const double dpi = logicalDpiX();
    const int leftWidth = twipsToPixels(2900, dpi);
    const int rightWidth = twipsToPixels(2900, dpi);

    m_text1 = new QLineEdit(this);
    m_text1->setObjectName("Text1");
    m_label1 = new QLabel(this);
    m_label1->setObjectName("Label1");
    m_label1->setMinimumWidth(twipsToPixels(kDirectoryLabelWidth_twips, dpi));
    m_file1 = new QListWidget(this);
    m_file1->setObjectName("File1");
    m_file1->setMinimumWidth(leftWidth);
    m_dir1 = new QListWidget(this);
    m_dir1->setObjectName("Dir1");
    m_dir1->setFixedWidth(rightWidth);
    m_drive1 = new QComboBox(this);
    m_drive1->setObjectName("Drive1");
    m_drive1->setFixedWidth(rightWidth);
    m_drive1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_command1 = new QPushButton(QString::fromUtf8(firstButtonCaption), this);
    m_command1->setObjectName("Command1");
    m_command2 = new QPushButton(QString::fromUtf8(kCancelCaption), this);
    m_command2->setObjectName("Command2");
    m_text1->setAccessibleName("Nome del file");
    m_file1->setAccessibleName("File");
    m_dir1->setAccessibleName("Cartelle");
    m_drive1->setAccessibleName("Unità");
    m_command1->setAccessibleName(QString::fromUtf8(firstButtonName));
    m_command2->setAccessibleName(QString::fromUtf8(kCancelName));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_text1, 0, 0);
    grid->addWidget(m_label1, 0, 1);
    grid->addWidget(m_file1, 1, 0, 2, 1);
    grid->addWidget(m_dir1, 1, 1);
    grid->addWidget(m_drive1, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_command1);
    buttons->addWidget(m_command2);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setRowMinimumHeight(1, twipsToPixels(2200, dpi));

    setTabOrder(m_text1, m_file1);
    setTabOrder(m_file1, m_dir1);
    setTabOrder(m_dir1, m_drive1);
    setTabOrder(m_drive1, m_command1);
    setTabOrder(m_command1, m_command2);
}

void FileWindowBase::connectEvents()
{
    connect(m_drive1, &QComboBox::activated, this, [this](int index) {
        model().driveChanged(index);
        refresh();
    });
    connect(m_dir1, &QListWidget::currentRowChanged, this, [this](int row) {
        model().directoryHighlighted(row);
    });
    connect(m_dir1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        model().directoryOpened(m_dir1->row(item));
        refresh();
    });
    auto clicked = [this](int row) {
        if (row < 0)
            return;
        model().fileClicked(row);
        refresh();
    };
    connect(m_file1, &QListWidget::currentRowChanged, this, clicked);
    connect(m_file1, &QListWidget::itemClicked, this,
            [this, clicked](QListWidgetItem* item) { clicked(m_file1->row(item)); });
    connect(m_file1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const WindowOutcome outcome = model().fileDoubleClicked(m_file1->row(item));
        refresh();
        finish(outcome);
    });
    connect(m_text1, &QLineEdit::textEdited, this, [this](const QString& text) {
        model().nameEdited(text.toStdString());
        refresh();
    });
    auto first = [this] {
        const WindowOutcome outcome = model().firstButton();
        refresh();
        finish(outcome);
    };
    connect(m_text1, &QLineEdit::returnPressed, this, first);
    connect(m_command1, &QPushButton::clicked, this, first);
    connect(m_command2, &QPushButton::clicked, this, [this] { finish(model().cancel()); });
    auto* escape = new QShortcut(QKeySequence::Cancel, this);
    connect(escape, &QShortcut::activated, this, [this] { finish(model().cancel()); });
}

void FileWindowBase::centreOnScreen()
{
    adjustSize();
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

double FileWindowBase::textWidthTwips(const std::string& text) const
{
    const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96.0;
    // The label's own metrics: those of a bare font are at the default resolution, not the
    // screen's, and let a long directory overflow the label on a high-resolution screen.
    return m_label1->fontMetrics().horizontalAdvance(qs(text)) * kTwipsPerInch / dpi;
}

void FileWindowBase::refresh()
{
    const FileWindowModel& m = model();
    const FileBrowser& b = m.browser();

    {
        const QSignalBlocker block(m_drive1);
        QStringList drives;
        for (const std::string& d : b.drives())
            drives << qs(d);
        QStringList shown;
        for (int i = 0; i < m_drive1->count(); ++i)
            shown << m_drive1->itemText(i);
        if (shown != drives) {
            m_drive1->clear();
            m_drive1->addItems(drives);
        }
        m_drive1->setCurrentIndex(b.driveIndex());
    }
    {
        const QSignalBlocker block(m_dir1);
        QStringList texts;
        for (const DirectoryEntry& e : b.directories())
            texts << QString(e.depth * 2, QLatin1Char(' ')) + qs(e.name);
        if (!sameTexts(*m_dir1, texts)) {
            m_dir1->clear();
            const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
            const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
            for (std::size_t i = 0; i < b.directories().size(); ++i) {
                const DirectoryEntry& e = b.directories()[i];
                auto* item = new QListWidgetItem(e.onPath ? open : closed,
                                                 texts[static_cast<int>(i)], m_dir1);
                item->setToolTip(qs(e.path));
            }
        }
        m_dir1->setCurrentRow(b.highlightedDirectory());
    }
    {
        const QSignalBlocker block(m_file1);
        QStringList files;
        for (const std::string& f : b.files())
            files << qs(f);
        if (!sameTexts(*m_file1, files)) {
            m_file1->clear();
            m_file1->addItems(files);
        }
        m_file1->setCurrentRow(b.selectedFile());
        if (b.selectedFile() < 0)
            m_file1->clearSelection();
    }
    {
        const QSignalBlocker block(m_text1);
        if (m_text1->text() != qs(m.name()))
            m_text1->setText(qs(m.name()));
    }
    m_label1->setText(qs(m.directoryLabel()));
    m_label1->setToolTip(qs(b.directory()));
    if (model().takeNameFocusRequest()) {
        m_text1->setFocus();
        m_text1->selectAll();
    }
}

void FileWindowBase::finish(WindowOutcome outcome)
{
    if (outcome == WindowOutcome::Close)
        close();
}

// ---- the two windows ------------------------------------------------------------------------

GetFileWindow::GetFileWindow(FileSession& session, ShotFileHost& host, Dialogs& dialogs,
                             QWidget* parent)
    : FileWindowBase(parent, m_model),
      m_model(session, host, dialogs, [this](const std::string& t) { return textWidthTwips(t); })
{
    createWidgets(GetFileModel::kCaption, GetFileModel::kFirstButtonCaption, GetFileModel::kFirstButtonName);
    connectEvents();
    m_model.startUp();
    refresh();
    centreOnScreen();
}

SaveFileWindow::SaveFileWindow(FileSession& session, ShotFileHost& host, Dialogs& dialogs,
                               QWidget* parent)
    : FileWindowBase(parent, m_model),
      m_model(session, host, dialogs, [this](const std::string& t) { return textWidthTwips(t); })
{
    createWidgets(SaveFileModel::kCaption, SaveFileModel::kFirstButtonCaption, SaveFileModel::kFirstButtonName);
    connectEvents();
    m_model.startUp();
    refresh();
    centreOnScreen();
    m_text1->setFocus();
    m_text1->selectAll();
}

} // namespace siacci
