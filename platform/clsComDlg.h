#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class FileDialog;
class QWidget;

// The one file chooser of every window. A caller sets the properties, writes Action and reads
// FileName: one full path; for several files the folder, a NUL and each name separated by
// NULs; empty when nothing was chosen. ChosenFiles holds the same choice as full paths.
// FilterIndex is left to carry the file type last accepted in any window over to the next
// dialog.
class clsComDlg {
public:
    // The platform's flag values the callers pass.
    static constexpr int32_t OFN_HIDEREADONLY = 0x4;
    static constexpr int32_t OFN_ALLOWMULTISELECT = 0x200;
    static constexpr int32_t OFN_FILEMUSTEXIST = 0x1000;
    static constexpr int32_t OFN_EXPLORER = 0x80000;
    static constexpr int32_t OFN_LONGNAMES = 0x200000;
    // What every window's open dialog asks for; the picture window adds multiple selection.
    static constexpr int32_t kOpenExisting =
        OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;

    explicit clsComDlg(FileDialog& dialog) : m_dialog(dialog) {}

    QString DialogTitle;
    // Description and pattern pairs, all joined by "|".
    QString Filter;
    int32_t Flags = 0;
    QWidget* OwnerhWnd = nullptr;
    QString FileName;
    // 1-based: the pair shown first.
    int32_t FilterIndex = 0;
    // After a dialog: the chosen files' full paths, none when nothing was chosen.
    QStringList ChosenFiles;

    // 1 shows the open dialog, 2 the save dialog; returns when the user has closed it.
    void setAction(int16_t new_Action) { FileName = ShowDialog(new_Action); }

    // The open dialog over owner, starting from the path current (may be empty): sets the
    // properties, writes Action and returns ChosenFiles.
    QStringList open(QWidget* owner, const QString& filter, int32_t flags, const QString& title,
                     const QString& current);

private:
    QString ShowDialog(int16_t kind);

    FileDialog& m_dialog;
};
