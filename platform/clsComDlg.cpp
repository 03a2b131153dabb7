#include "platform/clsComDlg.h"

#include <QDir>
#include <algorithm>

#include "platform/FileDialog.h"
#include "platform/modStdLib.h"

QString clsComDlg::ShowDialog(int16_t kind) {
    FileDialogRequest request;
    request.owner = OwnerhWnd;
    request.title = DialogTitle;
    const QStringList parts = Filter.split(QLatin1Char('|'));
    // A description without its pattern offers nothing.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        request.types.append({parts[i], parts[i + 1]});
    // 0 names no pair, and the first is shown.
    request.selectedType = std::max(FilterIndex, 1) - 1;
    // Proposed whole, however long.
    request.folder = PathFolder(FileName);
    request.fileName = PathFileName(FileName);
    request.save = kind == 2;
    request.existingOnly = (Flags & OFN_FILEMUSTEXIST) != 0;
    request.multiple = (Flags & OFN_ALLOWMULTISELECT) != 0;

    ChosenFiles.clear();
    const std::optional<FileDialogAnswer> answer = m_dialog.choose(request);
    if (!answer || answer->files.isEmpty()) return {};
    FilterIndex = static_cast<int32_t>(answer->selectedType + 1);
    ChosenFiles = answer->files;
    if (ChosenFiles.size() == 1) return ChosenFiles.first();
    // The names from the dialog's own folder, not from splitting the paths: on this system "\"
    // is a character of a name.
    const QDir folder(answer->folder);
    QStringList list{answer->folder};
    for (const QString& file : ChosenFiles) list << folder.relativeFilePath(file);
    return list.join(QChar(u'\0'));
}

QStringList clsComDlg::open(QWidget* owner, const QString& filter, int32_t flags,
                            const QString& title, const QString& current) {
    OwnerhWnd = owner;
    Filter = filter;
    Flags = flags;
    DialogTitle = title;
    FileName = current;
    setAction(1);
    return ChosenFiles;
}
