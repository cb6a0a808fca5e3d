#include "print/qt_help_window.hpp"

#include "common/qt_windows.hpp"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>

#include <gtest/gtest.h>

namespace siacci {
namespace {

QString pageName(const QUrl& url)
{
    return url.fileName();
}

struct HelpWindowView : ::testing::Test {
    WindowRegistry windows;
    QPointer<HelpWindow> window;
    QTextBrowser* browser = nullptr;
    QToolButton* back = nullptr;
    QToolButton* forward = nullptr;
    QToolButton* home = nullptr;

    // As the program opens it.
    void open()
    {
        windows.add<HelpWindow>(WindowId::Help, [] { return new HelpWindow; },
                                [](HelpWindow& help) { help.openContents(); });
        window = static_cast<HelpWindow*>(windows.show(WindowId::Help));
    }

    void SetUp() override
    {
        open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        browser = window->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
        back = window->findChild<QToolButton*>(QStringLiteral("Back"));
        forward = window->findChild<QToolButton*>(QStringLiteral("Forward"));
        home = window->findChild<QToolButton*>(QStringLiteral("Home"));
        ASSERT_TRUE(browser && back && forward && home);
    }
    void TearDown() override { delete window; }

    // Clicks the link whose text is `text`, as the user would.
    void clickLink(const QString& text)
    {
        const QTextCursor found = browser->document()->find(text);
        ASSERT_FALSE(found.isNull()) << text.toStdString();
        QTextCursor inside(found);
        inside.setPosition(found.selectionStart() + 1);
        const QPoint at = browser->cursorRect(inside).center();
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(HelpWindowView, OpensAtItsContents)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("DIRIDOZ - Guida di Siacci"));
    EXPECT_EQ(window->currentPage(), helpContentsUrl());
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Indice")));
    EXPECT_FALSE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());
}

TEST_F(HelpWindowView, LinksBackAndForward)
{
    clickLink(QStringLiteral("I dati del tiro"));
    EXPECT_EQ(pageName(window->currentPage()), QStringLiteral("dati.html"));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("I limiti della velocità")));
    EXPECT_TRUE(back->isEnabled());

    clickLink(QStringLiteral("Le tre tabelle"));
    EXPECT_EQ(pageName(window->currentPage()), QStringLiteral("tabelle.html"));

    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(pageName(window->currentPage()), QStringLiteral("dati.html"));
    EXPECT_TRUE(forward->isEnabled());
    QTest::mouseClick(forward, Qt::LeftButton);
    EXPECT_EQ(pageName(window->currentPage()), QStringLiteral("tabelle.html"));

    QTest::mouseClick(home, Qt::LeftButton);
    EXPECT_EQ(window->currentPage(), helpContentsUrl());
}

TEST_F(HelpWindowView, OpeningAgainReturnsToTheContents)
{
    clickLink(QStringLiteral("La stampa"));
    EXPECT_EQ(pageName(window->currentPage()), QStringLiteral("stampa.html"));
    EXPECT_EQ(windows.show(WindowId::Help), window.data()); // the same window, at the contents
    EXPECT_EQ(window->currentPage(), helpContentsUrl());
}

// Every page is reachable from the contents, and every link of every page leads to a page
// (and an anchor) that exists: a misspelt file name would show the user an empty window.
TEST(HelpPages, EveryLinkLeadsSomewhere)
{
    HelpWindow window; // loads the pages into the program
    const QRegularExpression href(QStringLiteral("href=\"([^\"#]*)(#([^\"]*))?\""));
    QSet<QString> reached = {QStringLiteral("index.html")};
    QStringList queue = {QStringLiteral("index.html")};
    while (!queue.isEmpty()) {
        const QString name = queue.takeFirst();
        QFile file(QStringLiteral(":/help/") + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QString html = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << name.toStdString();
        for (auto m = href.globalMatch(html); m.hasNext();) {
            const auto link = m.next();
            const QString target = link.captured(1).isEmpty() ? name : link.captured(1);
            QFile linked(QStringLiteral(":/help/") + target);
            ASSERT_TRUE(linked.open(QIODevice::ReadOnly))
                << name.toStdString() << " -> " << target.toStdString();
            if (!link.captured(3).isEmpty()) {
                EXPECT_TRUE(QString::fromUtf8(linked.readAll())
                                .contains(QStringLiteral("name=\"%1\"").arg(link.captured(3))))
                    << name.toStdString() << " -> " << link.captured(0).toStdString();
            }
            if (!reached.contains(target)) {
                reached.insert(target);
                queue.append(target);
            }
        }
    }
    const QStringList all = QDir(QStringLiteral(":/help")).entryList(QDir::Files);
    EXPECT_EQ(all.size(), 16);
    for (const QString& page : all)
        EXPECT_TRUE(reached.contains(page)) << page.toStdString() << " is not linked";
}

} // namespace
} // namespace siacci
