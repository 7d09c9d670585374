#pragma once

#include "book/core/appointmentshistory.h"
#include "book/core/bookcontroller.h"
#include "book/core/namesearch.h"
#include "book/core/nextavailable.h"
#include "book/core/pagehistory.h"
#include "book/core/recurrentbooking.h"
#include "store/core/database.h"
#include "book/pages/pagetext.h"
#include "store/core/schema.h"
#include "store/core/settings.h"
#include "support/station.h"
#include "ui/core/desktop.h"
#include "ui/core/windows.h"

#include <gtest/gtest.h>
#include <memory>

namespace booktest {

// One station: its own connection to the practice's database (db.mdb or
// the server), its own prompter, window registry and book.
struct Station : testsupport::Station<> {
    std::unique_ptr<book::BookController> book;

    explicit Station(const testsupport::TestStore &store)
    {
        if (!store.available())
            return;   // the test skips
        const auto r = open(store);
        EXPECT_TRUE(r.ok()) << r.detail.toStdString();
        book = std::make_unique<book::BookController>(services);
    }

    // Types a whole entry into the current cell and presses Tab.
    void type(int row, int col, const QString &text)
    {
        book->session().grid().setCursor(row, col);
        book->entry().gridKeyPress(QChar(13));
        book->entry().setEditorText(text);
        book->entry().editorKeyPress(QChar(9));
    }

    int pageCount()
    {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM tbl_Appt")).toInt();
    }

    void setSetting(const QString &field, const QVariant &value)
    {
        store::SettingsStore(db).write({{field, value}});
    }
};

// A Tuesday, so that the page is an open weekday by the first settings.
inline const QDate Today(2026, 12, 8);

// Fixture of the book tests that run on both engines, with one station.
class BookTest : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            ASSERT_TRUE(st.book->load(Today));
        }
    }
    Station st{store};
};

} // namespace booktest
