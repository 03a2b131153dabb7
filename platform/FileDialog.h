#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

// A file type the chooser offers: "ｻｳﾝﾄﾞ(*.wav)" with "*.wav" (several patterns joined by ";").
struct FileType {
    QString description;
    QString pattern;
};

struct FileDialogRequest {
    QWidget* owner = nullptr;  // the dialog is modal over it
    QString title;
    QList<FileType> types;
    qsizetype selectedType = 0;  // into types
    QString folder;              // where it opens; empty for the platform's default
    QString fileName;            // the name proposed there
    bool save = false;
    bool existingOnly = false;
    bool multiple = false;
};

struct FileDialogAnswer {
    QStringList files;  // full paths, all in one folder
    qsizetype selectedType = 0;
    // The folder the dialog showed, as the platform names it: that of every file.
    QString folder;
};

// The platform's file chooser; returns when the user has closed it, nothing when cancelled.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual std::optional<FileDialogAnswer> choose(const FileDialogRequest& request) = 0;
};

class QtFileDialog final : public FileDialog {
public:
    std::optional<FileDialogAnswer> choose(const FileDialogRequest& request) override;
};
