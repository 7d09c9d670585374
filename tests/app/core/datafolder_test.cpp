#include "app/core/datafolder.h"

#include "support/doubles/scriptedprompter.h"
#include "support/testdir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace app;
using Kind = DataFolderController::Kind;

namespace {

void writeFile(const QString &path, const QByteArray &bytes = {})
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class DataFolderTest : public ::testing::Test {
protected:
    QString home() const { return dir.file("home/Quillon"); }

    testsupport::TestDir dir;
    ui::ScriptedPrompter prompter;
};

} // namespace

TEST_F(DataFolderTest, ANewFolderOrASharedOneIsMadeReadyAndAFolderOfOtherFilesOnlyWhenTheUserSaysSo)
{
    DataFolderController c(prompter, home());
    EXPECT_EQ(c.accept(), QDir::cleanPath(home()));
    EXPECT_TRUE(QDir(home()).exists());

    c.setKind(Kind::Shared);
    prompter.expectMessage();
    EXPECT_EQ(c.accept(), std::nullopt);
    EXPECT_EQ(prompter.last().text, "Choose the folder the practice shares between its computers.");

    c.setSharedFolder(dir.file("gone"));
    prompter.expectMessage();
    EXPECT_EQ(c.accept(), std::nullopt);
    EXPECT_TRUE(prompter.last().text.contains("cannot be found. If it is on a network drive"));

    // A practice's folder is opened, an empty one made ready, without a question.
    QDir().mkpath(dir.file("share"));
    c.setSharedFolder(dir.file("share"));
    EXPECT_EQ(c.note(), QDir::toNativeSeparators(dir.file("share")) + " is empty: a new database is made there.");
    EXPECT_EQ(c.accept(), dir.file("share"));
    writeFile(dir.file("share/db.mdb"));
    EXPECT_EQ(c.accept(), dir.file("share"));

    QDir().mkpath(dir.file("documents"));
    writeFile(dir.file("documents/letter.txt"));
    c.setSharedFolder(dir.file("documents"));
    prompter.answerNo().answerYes();
    EXPECT_EQ(c.accept(), std::nullopt);
    EXPECT_TRUE(prompter.last().defaultNo);
    EXPECT_TRUE(prompter.last().text.endsWith("holds other files but no database of this program. Make a new "
                                              "database for the practice there?"));
    EXPECT_EQ(c.accept(), dir.file("documents"));
    EXPECT_EQ(prompter.transcript().size(), 4u);
}

TEST_F(DataFolderTest, AServerChoiceWritesServerConfInTheUsersFolderAndNeverAPassword)
{
    DataFolderController c(prompter, home());
    c.setKind(Kind::Server);
    c.setServerSettings("host=clinic dbname=practice user=desk password=secret");
    prompter.expectMessage();
    EXPECT_EQ(c.accept(), std::nullopt);
    EXPECT_TRUE(prompter.last().text.startsWith("These server settings cannot be used: it holds a password."));
    EXPECT_FALSE(QFile::exists(QDir(home()).filePath("server.conf")));

    c.setServerSettings("  host=clinic dbname=practice user=desk ");
    EXPECT_EQ(c.accept(), QDir::cleanPath(home()));
    EXPECT_EQ(readFile(QDir(home()).filePath("server.conf")), "host=clinic dbname=practice user=desk\n");

    // Another server's settings are replaced only when the user says so.
    c.setServerSettings("service=other");
    prompter.answerNo();
    EXPECT_EQ(c.accept(), std::nullopt);
    EXPECT_EQ(readFile(QDir(home()).filePath("server.conf")), "host=clinic dbname=practice user=desk\n");
    prompter.answerYes();
    EXPECT_EQ(c.accept(), QDir::cleanPath(home()));
    EXPECT_EQ(readFile(QDir(home()).filePath("server.conf")), "service=other\n");
}

TEST_F(DataFolderTest, TheStartAsksOnceRemembersTheChoiceAndNeverMakesAGoneShareAnew)
{
    const QString settings = dir.file("config/station.ini");
    QDir().mkpath(dir.file("share"));
    int asked = 0;
    std::optional<QString> answer = dir.file("share");
    const auto choose = [&] {
        ++asked;
        return answer;
    };
    const ui::Places::Lookup first{{}, {}, dir.file("bin"), ui::Places::chosen(settings)};

    DataFolderStart start(prompter, choose, settings);
    EXPECT_EQ(start.settle(first), dir.file("share"));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(start.source(), ui::Places::Source::Chosen);
    EXPECT_EQ(ui::Places::chosen(settings), dir.file("share"));

    // The next start takes the choice without asking, once it holds the data.
    writeFile(dir.file("share/db.mdb"));
    const ui::Places::Lookup next{{}, {}, dir.file("bin"), ui::Places::chosen(settings)};
    EXPECT_EQ(start.settle(next), dir.file("share"));
    EXPECT_EQ(asked, 1);

    // The share not connected: the user is told, and closes or chooses again.
    QFile::remove(dir.file("share/db.mdb"));
    prompter.answerNo();
    EXPECT_EQ(start.settle(next), std::nullopt);
    EXPECT_EQ(prompter.last().text, DataFolderStart::goneText(dir.file("share")));
    EXPECT_EQ(prompter.last().title, "Practice Data");
    EXPECT_EQ(asked, 1);
    QDir().mkpath(dir.file("other"));
    answer = dir.file("other");
    prompter.answerYes();
    EXPECT_EQ(start.settle(next), dir.file("other"));
    EXPECT_EQ(ui::Places::chosen(settings), dir.file("other"));

    // Cancelling the window closes the program.
    answer.reset();
    EXPECT_EQ(start.settle({{}, {}, {}, {}}), std::nullopt);
}

TEST_F(DataFolderTest, AFolderNamedAtStartIsMadeAndNotRemembered)
{
    const QString settings = dir.file("config/station.ini");
    DataFolderStart start(prompter, [] { return std::optional<QString>(); }, settings);
    EXPECT_EQ(start.settle({{"--data", dir.file("given/data")}, {}, {}, {}}), dir.file("given/data"));
    EXPECT_TRUE(QDir(dir.file("given/data")).exists());
    EXPECT_EQ(start.settle({{}, dir.file("env"), {}, {}}), dir.file("env"));
    EXPECT_EQ(start.source(), ui::Places::Source::Environment);
    EXPECT_FALSE(QFile::exists(settings));

    prompter.expectMessage();
    EXPECT_EQ(start.settle({{"--data"}, {}, {}, {}}), std::nullopt);
    EXPECT_EQ(prompter.last().text, "--data must be followed by the practice's data folder.");
    EXPECT_EQ(prompter.last().icon, ui::Icon::Critical);
}
