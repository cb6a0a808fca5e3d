// The pictures of `make screenshots` for the armoury: the window with two rifles, one open on a
// load, and the range card with a rifle chosen and a velocity trued.
#include "armoury/armoury_test_data.hpp"
#include "armoury/qt_armoury_window.hpp"
#include "armoury/qt_card_armoury_panel.hpp"
#include "armoury/qt_truing_panel.hpp"
#include "card/qt_card_window.hpp"
#include "common/fakes.hpp"
#include "common/qt_screenshots.hpp"

namespace siacci::screenshots {

void armoury(const QString& dir)
{
    armoury::testing::FakeHost host;
    armoury::testing::MemoryStorage storage;
    armoury::Rifle second;
    second.name = "Blaser R8 6,5x55";
    second.loads.push_back(armoury::testing::fullRifle().loads[0]);
    second.loads[0].description = "140 gr ELD-M";
    armoury::ArmourySession session({{armoury::testing::fullRifle(), second}}, storage);
    testing::FakeDialogs dialogs;
    armoury::ArmouryWindow window(session, dialogs, host);
    window.resize(820, 560);
    window.model().select({0, 1});
    window.refresh();
    save(window, dir, QStringLiteral("armeria"));
    window.model().select({0, std::nullopt});
    window.refresh();
    save(window, dir, QStringLiteral("armeria_arma"));

    // The range card with the armoury: a rifle and load chosen, a velocity trued from the
    // clicks dialled at 400 m.
    class ShotHost : public CardHost {
        CardShot cardShot() const override { return {}; }
    } shotHost;
    card::CardWindow cardWindow(shotHost);
    cardWindow.attachArmoury(session, dialogs);
    auto* panel = cardWindow.armouryPanel();
    panel->model().rifleChosen(1);
    auto& truing = panel->truing()->model();
    truing.observationChosen(armoury::Observation::Correction);
    truing.valueChanged("40");
    truing.distanceChanged("400");
    truing.solveClicked();
    panel->truing()->refresh();
    cardWindow.refresh();
    cardWindow.show(); // at its own size, larger than the offscreen screen
    cardWindow.resize(1500, 940);
    save(cardWindow, dir, QStringLiteral("cartellino_armeria"));
}

} // namespace siacci::screenshots
