// Waiting for a serial device that went away: the same path or one of its
// by-id names counts as back only after it was seen missing, and another
// adapter is not taken for it. The devices are files and links in a folder
// that stands for /dev.

#include "../../support/CaseNames.h"
#include "../../support/PtyPeer.h"
#include "DeviceReturn.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct TStep {
    const char *change; // "+name" makes a device, "-name" removes one, "name->device" links a by-id name
    const char *back; // what a look finds after the change, relative to the folder
};

struct TReturnCase {
    const char *name;
    const char *remembered;
    std::vector<TStep> steps;
};

class DeviceReturnTest : public ::testing::TestWithParam<TReturnCase> {
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        ASSERT_TRUE(QDir().mkpath(Dev("serial/by-id")));
        Change("+ttyUSB0");
        Change("usb-Maker_A1->ttyUSB0");
        watch.SetFolders(TDeviceFolders{dir.filePath("dev"), dir.filePath("sys")});
    }
    QString Dev(const QString &name) const
    {
        return dir.filePath("dev/" + name);
    }
    void Change(const QString &change)
    {
        if (change.startsWith('+')) {
            QFile file(Dev(change.mid(1)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        } else if (change.startsWith('-')) {
            ASSERT_TRUE(QFile::remove(Dev(change.mid(1))));
        } else if (change.contains("->")) {
            const QStringList parts = change.split("->");
            ASSERT_TRUE(QFile::link("../../" + parts[1], Dev("serial/by-id/" + parts[0])));
        }
    }

    QTemporaryDir dir;
    TDeviceReturn watch;
};

TEST_P(DeviceReturnTest, ADeviceIsBackOnlyAfterItWasMissing)
{
    const TReturnCase &c = GetParam();
    watch.Remember(Dev(c.remembered));
    watch.Wait();
    for (const TStep &step : c.steps) {
        Change(QString::fromLatin1(step.change));
        const QString expected = step.back[0] ? Dev(step.back) : QString();
        EXPECT_EQ(watch.Look(), expected) << "after " << step.change;
    }
    watch.Stop();
}

INSTANTIATE_TEST_SUITE_P(
    Changes, DeviceReturnTest,
    ::testing::Values(
        TReturnCase{"hung_up_but_never_left", "ttyUSB0", {{"", ""}, {"", ""}}},
        TReturnCase{"back_under_the_same_path", "ttyUSB0", {{"-ttyUSB0", ""}, {"+ttyUSB0", "ttyUSB0"}}},
        TReturnCase{"back_as_another_node_under_its_by_id_name",
                    "ttyUSB0",
                    {{"-serial/by-id/usb-Maker_A1", ""},
                     {"-ttyUSB0", ""},
                     {"+ttyUSB1", ""},
                     {"usb-Maker_A1->ttyUSB1", "serial/by-id/usb-Maker_A1"}}},
        TReturnCase{
            "another_adapter_is_not_it",
            "ttyUSB0",
            {{"-serial/by-id/usb-Maker_A1", ""}, {"-ttyUSB0", ""}, {"+ttyUSB1", ""}, {"usb-Other_B2->ttyUSB1", ""}}},
        TReturnCase{"a_link_to_no_device_is_missing",
                    "serial/by-id/usb-Maker_A1",
                    {{"-ttyUSB0", ""}, {"+ttyUSB0", "serial/by-id/usb-Maker_A1"}}}),
    NameByField(&TReturnCase::name));

// A program that served the device was ended and started again within one
// look's interval.
TEST_F(DeviceReturnTest, ADeviceMissingWhenTheWaitBeginsIsBackAtTheNextLook)
{
    watch.Remember(Dev("ttyUSB0"));
    Change("-ttyUSB0");
    watch.Wait();
    Change("+ttyUSB0");
    EXPECT_EQ(watch.Look(), Dev("ttyUSB0"));
    watch.Stop();
}

TEST_F(DeviceReturnTest, WaitingLooksByItselfUntilStopped)
{
    QStringList back;
    watch.OnBack = [&](const QString &path) {
        back << path;
        watch.Stop();
    };
    watch.Remember(Dev("ttyUSB0"));
    watch.Wait();
    Change("-ttyUSB0");
    ASSERT_FALSE(WaitFor([&] { return !back.isEmpty(); }, 3 * TDeviceReturn::kPollMs));
    Change("+ttyUSB0");
    ASSERT_TRUE(WaitFor([&] { return !back.isEmpty(); }));
    EXPECT_EQ(back, QStringList(Dev("ttyUSB0")));
    EXPECT_FALSE(watch.Waiting());
}

} // namespace
