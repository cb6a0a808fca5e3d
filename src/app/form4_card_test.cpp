#include "app/form4.hpp"
#include "common/fakes.hpp"

#include <gtest/gtest.h>

namespace siacci {
namespace {

TEST(Form4CardShot, ImperialWindowGivesMetricNumbers)
{
    testing::FakeDialogs dialogs;
    testing::FakeWindowHost windows;
    testing::FakePrintSink printer;
    Form4 form(dialogs, windows, printer);
    form.startUp();
    const std::pair<Field, const char*> shot[] = {
        {Field::Text12, "800"}, {Field::Text11, "0.4"}, {Field::Text3, "300"},
        {Field::Text5, "220"},  {Field::Text4, "25"},   {Field::Text9, "15"},
        {Field::Text8, "200"},  {Field::Text7, "150"},  {Field::Text6, "4"}};
    for (const auto& [field, text] : shot)
        form.fieldChanged(field, text);
    form.calcolaClicked();
    const CardShot metric = form.cardShot();
    EXPECT_DOUBLE_EQ(metric.velocity_ms, 800);
    EXPECT_DOUBLE_EQ(metric.zero_m, 220);
    form.ingleseClicked(); // 2625 ft/s, 1.57 inches; the distances keep their numbers as yards
    const CardShot c = form.cardShot();
    EXPECT_NEAR(c.velocity_ms, 2625 / 3.281, 1e-9);
    EXPECT_NEAR(c.sightHeight_cm, 1.57 * 2.54, 1e-9);
    // Whole metres, the rows kept: 220 yd = 201.2 m, 25 yd = 22.9 m, twelve rows to 300 yd.
    EXPECT_EQ(c.zero_m, 201);
    EXPECT_EQ(c.increment_m, 23);
    EXPECT_EQ(c.maxDistance_m, 12 * 23);
    EXPECT_FALSE(c.fromCatalogue) << "typed numbers, not a catalogue load";
    EXPECT_DOUBLE_EQ(c.temperature_C, 15);
    EXPECT_DOUBLE_EQ(c.altitude_m, 200);
    EXPECT_DOUBLE_EQ(c.weight_gr, 150);
}

} // namespace
} // namespace siacci
