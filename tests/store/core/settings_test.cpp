#include "storefixture.h"

#include "store/core/settings.h"

using store::SettingsStore;

namespace {

using SettingsTest = storetest::StoreTest;

// A guarded write over values as each engine reads them back: numbers and
// yes/no fields compare by value, not by the type the driver returns.
TEST_P(SettingsTest, FieldsAreWrittenOnlyOverWhatWasRead)
{
    SettingsStore settings(db);
    const QVariantMap read{{"location", "Office"}, {"timeslot", 30}, {"Timer1", false}};
    store::Database other;
    openOther(other);
    SettingsStore(other).write({{"location", "Center"}, {"Timer1", true}});

    auto w = settings.writeFields(read, {{"location", "Clinic"}, {"timeslot", 45}, {"Timer1", true}});
    EXPECT_FALSE(w.written());
    EXPECT_EQ(w.contested, QStringList{"location"});   // Timer1 already holds the new value
    EXPECT_EQ(w.stored.value("location").toString(), "Center");
    EXPECT_TRUE(w.edit.empty());
    EXPECT_EQ(settings.load().timeslot, 30);

    w = settings.writeFields({{"location", "Center"}, {"timeslot", 30}}, {{"location", "Clinic"}, {"timeslot", 45}});
    ASSERT_TRUE(w.written());
    EXPECT_EQ(w.edit.kind, "setup");
    ASSERT_EQ(w.edit.changes.size(), 2u);
    EXPECT_EQ(w.edit.changes[0].field, "location");
    EXPECT_EQ(w.edit.changes[0].before.toString(), "Center");
    EXPECT_EQ(w.edit.changes[1].after.toInt(), 45);
    EXPECT_EQ(settings.load().location, "Clinic");
}

QUILLON_BOTH_ENGINES(SettingsTest);

} // namespace
