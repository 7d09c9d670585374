#include "ui/core/places.h"

#include "support/testdir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using ui::Places;

namespace {

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

QString clean(const QString &path)
{
    return QDir::cleanPath(path);
}

} // namespace

TEST(Places, TheDataFolderComesFromTheCommandLineTheEnvironmentTheProgramsFolderOrTheStationsChoice)
{
    testsupport::TestDir exe, env, chosen, given;
    Places::Lookup l{{"--data", given.path()}, env.path(), exe.path(), chosen.path()};
    touch(exe.file("db.mdb"));

    auto f = Places::find(l);
    EXPECT_EQ(f.source, Places::Source::CommandLine);
    EXPECT_EQ(f.folder, clean(given.path()));
    l.arguments = {"--smoke", "--data=" + given.path()};
    EXPECT_EQ(Places::find(l).folder, clean(given.path()));

    l.arguments.clear();
    f = Places::find(l);
    EXPECT_EQ(f.source, Places::Source::Environment);
    EXPECT_EQ(f.folder, clean(env.path()));

    // The program's own folder only when it holds a practice's data.
    l.environment.clear();
    EXPECT_EQ(Places::find(l).source, Places::Source::BesideProgram);
    QFile::remove(exe.file("db.mdb"));
    touch(exe.file("server.conf"));
    EXPECT_EQ(Places::find(l).folder, clean(exe.path()));
    QFile::remove(exe.file("server.conf"));

    f = Places::find(l);
    EXPECT_EQ(f.source, Places::Source::Chosen);
    EXPECT_EQ(f.folder, clean(chosen.path()));

    l.chosen.clear();
    f = Places::find(l);
    EXPECT_EQ(f.source, Places::Source::Ask);
    EXPECT_TRUE(f.folder.isEmpty());

    // A --data without its folder is an error, not a silent fall-through.
    for (const QStringList &args : {QStringList{"--data"}, QStringList{"--data="}}) {
        l.arguments = args;
        f = Places::find(l);
        EXPECT_EQ(f.error, "--data must be followed by the practice's data folder");
        EXPECT_TRUE(f.folder.isEmpty());
    }
}

TEST(Places, ThePracticesLayoutOverridesTheInstalledOne)
{
    testsupport::TestDir data, program;
    const Places places(data.path(), program.path());
    touch(program.file("invoice1.rpt"));
    EXPECT_EQ(places.layout("invoice1.rpt"), program.file("invoice1.rpt"));
    touch(data.file("invoice1.rpt"));
    EXPECT_EQ(places.layout("invoice1.rpt"), data.file("invoice1.rpt"));
    // Neither has it: named where the practice would put its copy.
    EXPECT_EQ(places.layout("invoice9.rpt"), data.file("invoice9.rpt"));
}

TEST(Places, TheStationRemembersItsChoice)
{
    testsupport::TestDir config, data;
    const QString settings = config.file("Quillon/station.ini");
    EXPECT_TRUE(Places::chosen(settings).isEmpty());
    EXPECT_TRUE(Places::remember(settings, data.path() + "/./"));
    EXPECT_EQ(Places::chosen(settings), clean(data.path()));

    // Settings that cannot be written say so.
    touch(config.file("blocked"));
    EXPECT_FALSE(Places::remember(config.file("blocked/station.ini"), data.path()));
}
