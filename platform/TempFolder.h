#pragma once

#include <QString>
#include <functional>

// The environment variable that names the temporary folder, and the deletion of leftovers there.
class TempFolder {
public:
    using NameTest = std::function<bool(const QString& name)>;

    virtual ~TempFolder() = default;
    // An unset variable reads as empty text.
    virtual QString environmentVariable(const QString& name) const = 0;
    // Deletes, in listing order, each ordinary file lying directly in folder whose name passes
    // chosen. Folders, hidden files (".name"), links, other kinds of file and everything below
    // the folder stay; a file that cannot be deleted is skipped.
    virtual void deleteOrdinaryFiles(const QString& folder, const NameTest& chosen) = 0;
};

class PosixTempFolder final : public TempFolder {
public:
    QString environmentVariable(const QString& name) const override;
    void deleteOrdinaryFiles(const QString& folder, const NameTest& chosen) override;
};
