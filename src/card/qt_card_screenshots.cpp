// The pictures of `make screenshots` for the range card: the window, its plot, both layouts.
#include "app/qt_form4_window.hpp"
#include "card/qt_card_window.hpp"
#include "card/qt_card_plot.hpp"
#include "card/qt_card_print.hpp"
#include "card/qt_tiro_window.hpp"
#include "catalogue/catalogue.hpp"
#include "common/qt_screenshots.hpp"

#include <QToolBox>

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace siacci::screenshots {

namespace {

// One printed page as an image at 150 dpi, white, with a grey edge for the paper.
void savePage(const card::PrintedCard& printed, const QString& dir, const QString& name)
{
    constexpr double dpi = 150;
    const double k = dpi / 25.4;
    QImage image(int(printed.pageWidth_mm * k), int(printed.pageHeight_mm * k),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(int(dpi / 0.0254));
    image.setDotsPerMeterY(int(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    card::paintCardPage(painter, printed.pages.front(), k);
    painter.setPen(Qt::gray);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    painter.end();
    const QString path = QDir(dir).filePath(name + ".png");
    image.save(path);
    std::printf("%s\n", qPrintable(path));
}

} // namespace

// The hunter's scenario: the .308 Winchester 165-200 grains load of the catalogue, its first
// bullet, wind 15 km/h from 9 o'clock, 20 degrees downhill, 1/4 MOA clicks, every 50 m to 500 m.
void card(const QString& dir)
{
    Form4Window main;
    main.model().presetChosen(*findPreset("tre11"));
    main.model().selectBullet(1);
    main.refresh();
    main.show(WindowId::Card); // with the armoury, as the menu opens it
    auto& w = *dynamic_cast<card::CardWindow*>(main.window(WindowId::Card));
    card::Cartellino& m = w.model();
    m.fieldChanged(card::CardField::WindSpeed, "15");
    m.windClockChosen(9);
    m.fieldChanged(card::CardField::LookAngle, "-20");
    m.clickChosen(card::ClickChoice::Moa025);
    m.fieldChanged(card::CardField::MaxDistance, "500");
    m.fieldChanged(card::CardField::Increment, "50");
    m.fieldChanged(card::CardField::Zero, "100");
    m.speciesChosen(card::Species::Cervo);
    w.refresh();
    // The offscreen screen is small; the picture shows the window at its own size.
    w.show();
    w.resize(1500, 940);
    save(w, dir, "card_window");
    // A 1024 x 768 screen and a 1920 x 1080 one, less the title bar and a panel.
    w.resize(1024, 700);
    save(w, dir, "card_window_1024x768");
    w.resize(1920, 1010);
    save(w, dir, "card_window_1920x1080");
    w.resize(1500, 940);
    w.plot()->resize(700, 420);
    w.plot()->pointAt(300);
    save(*w.plot(), dir, "card_plot");
    savePage(card::pocketLayout(m.sheet()).card, dir, "card_pocket");
    savePage(card::fullPageLayout(m.sheet()), dir, "card_full_page");

    // "Fin dove posso tirare?": a boar from the sticks, a rangefinder, a guessed wind.
    m.speciesChosen(card::Species::Cinghiale);
    m.positionChosen(card::ShootingPosition::Bastone);
    m.rangeFinderChosen(card::RangeFinder::Telemetro);
    m.windReadingChosen(card::WindReading::Stimato);
    m.hitChosen(true);
    if (auto* inputs = w.findChild<QToolBox*>(QStringLiteral("dati")))
        for (int i = 0; i < inputs->count(); ++i)
            if (inputs->itemText(i) == QStringLiteral("&Distanza etica"))
                inputs->setCurrentIndex(i);
    w.refresh();
    save(w, dir, "card_window_hit");
    savePage(card::pocketLayout(m.sheet()).card, dir, "card_pocket_hit");
    // IL TIRO on the same card: 287 m from the rangefinder, a second-plane Mil-Dot at 8x, and
    // the Christmas tree with the holds of every distance.
    main.show(WindowId::Tiro);
    auto& t = *dynamic_cast<card::TiroWindow*>(main.window(WindowId::Tiro));
    t.model().fieldChanged(card::TiroField::Distance, "287");
    t.model().reticleChosen(1);
    t.model().fieldChanged(card::TiroField::Magnification, "8");
    t.refresh();
    t.resize(1000, 700);
    save(t, dir, "tiro_window");
    t.model().reticleChosen(4);
    t.refresh();
    save(t, dir, "tiro_window_albero");
    t.model().reticleChosen(1);
    savePage(*t.model().reticleCard(), dir, "tiro_reticle_card");
}

} // namespace siacci::screenshots
