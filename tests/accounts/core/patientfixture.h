#pragma once

#include "accounts/core/patientcontroller.h"
#include "accounts/core/patientfields.h"
#include "support/station.h"
#include "support/teststore.h"
#include "store/core/dialect.h"

#include <memory>

namespace patienttest {

namespace b = accounts::patient::box;

// One station with its client file window's controller, on a test store.
struct Station : testsupport::Station<> {
    std::unique_ptr<accounts::PatientController> files;
    explicit Station(const testsupport::TestStore &store)
    {
        EXPECT_TRUE(open(store).ok());
        files = std::make_unique<accounts::PatientController>(services);
        EXPECT_TRUE(files->load());
    }
    ~Station()
    {
        files.reset();
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join("\n").toStdString();
    }
    // The window brought forward on a file.
    void show(int fileNo)
    {
        state.currentFileNo = fileNo;
        state.newFilePending = false;   // as every window that picks a file leaves it
        files->arrive();
    }
    void type(const QString &box, const QString &text) { files->form().setText(box, text); }
    QString box(const QString &name) { return files->form().text(name); }
    QVariant stored(int fileNo, const QString &field)
    {
        return db.scalar(QStringLiteral("SELECT %1 FROM tbl_PatientDetails WHERE FileNo = ?")
                             .arg(store::Dialect::quote(field)),
                         {fileNo});
    }
    int files_() { return db.scalar("SELECT COUNT(*) FROM tbl_PatientDetails").toInt(); }
    int addFile(const QString &last, const QString &first = "ANN")
    {
        store::WriteTransaction tx(db);
        QVariantMap v = {{"PLastName", last}, {"PFirstName", first}, {"PMI", ""}, {"DateOfBirth", ""},
                         {"PAddress", ""}, {"SocialSecurityNo", " "}};
        const int n = db.insert("tbl_PatientDetails", v);
        tx.commit();
        return n;
    }
};

} // namespace patienttest
