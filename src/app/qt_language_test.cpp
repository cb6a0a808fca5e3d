// Qt's own texts in the windows Qt draws for the program: the file dialog of "Esporta la tabella",
// of the armoury's import and export and of the graph's image, in Italian.
#include "app/qt_language.hpp"

#include "files/file_test_support.hpp"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include <filesystem>

namespace siacci {
namespace {

// Every text the dialog shows or hands to a screen reader: captions, tool tips, accessible
// names, the column headings and the cells of its lists, the context menu of its lists.
QStringList dialogTexts(QFileDialog& dialog)
{
    QStringList texts;
    const auto add = [&](const QString& t) {
        if (!t.trimmed().isEmpty())
            texts << t;
    };
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&dialog))
            continue;
        add(w->toolTip());
        add(w->accessibleName());
        if (auto* label = qobject_cast<QLabel*>(w))
            add(label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            add(button->text());
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                add(combo->itemText(i));
        if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
            QAbstractItemModel* model = view->model();
            if (!model)
                continue;
            const QModelIndex root = view->rootIndex();
            for (int c = 0; c < model->columnCount(root); ++c)
                add(model->headerData(c, Qt::Horizontal).toString());
            for (int r = 0; r < std::min(model->rowCount(root), 20); ++r)
                for (int c = 0; c < model->columnCount(root); ++c)
                    add(model->index(r, c, root).data().toString());
        }
    }
    for (QAction* a : dialog.findChildren<QAction*>())
        add(a->text());
    return texts;
}

TEST(QtTexts, TheFileDialogSpeaksItalian)
{
    testing::TempDir dir;
    std::filesystem::create_directories(dir.path / "Tiro");
    { std::ofstream(dir.path / "tabella.csv") << "1;2\n"; }
    QFileDialog dialog(nullptr, QStringLiteral("Esporta la tabella"), QString::fromStdString(dir.str()),
                       QStringLiteral("CSV (*.csv)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // The file system model fills its rows in a thread of its own.
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(tree, nullptr);
    for (int i = 0; i < 100 && tree->model()->rowCount(tree->rootIndex()) < 2; ++i)
        QTest::qWait(20);
    QStringList texts = dialogTexts(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    texts += dialogTexts(dialog);
    ASSERT_TRUE(texts.contains(QStringLiteral("Tiro")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Cartella"))) << "the type of the folder Tiro";
    const QStringList english = {"Folder", "File Folder", "Drive", "File name", "Files of type", "Look in",
                                 "Save", "Open", "Cancel", "Back", "Forward", "Parent Directory", "Name",
                                 "Size", "Type", "Date Modified", "Detail View", "List View", "Create New Folder",
                                 "New Folder", "Rename", "Delete", "Show hidden files", "Unknown"};
    QStringList found;
    for (const QString& text : texts) {
        const QString plain = QString(text).remove('&').remove(':').trimmed();
        for (const QString& word : english)
            if (plain == word)
                found << text;
        // The type of a file as English writes it, "csv File" (Italian: "File csv").
        if (plain.endsWith(QStringLiteral(" File")))
            found << text;
    }
    found.removeDuplicates();
    EXPECT_TRUE(found.isEmpty()) << found.join(" | ").toStdString();
}

} // namespace
} // namespace siacci
