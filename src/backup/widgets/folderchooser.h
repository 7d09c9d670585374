#pragma once

#include <QString>

class QWidget;

namespace backup {

// The desktop's folder chooser behind the folder buttons; tests put their
// own answer in its place.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    // The folder chosen, or an empty text when the user cancelled.
    virtual QString chooseFolder(QWidget *parent, const QString &title, const QString &start) = 0;
};

class DialogFolderChooser : public FolderChooser {
public:
    QString chooseFolder(QWidget *parent, const QString &title, const QString &start) override;
};

} // namespace backup
