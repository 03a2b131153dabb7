#include "platform/clsComDlg.h"

#include <QStringList>
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

    const std::optional<FileDialogAnswer> answer = m_dialog.choose(request);
    if (!answer || answer->files.isEmpty()) return {};
    FilterIndex = static_cast<int32_t>(answer->selectedType + 1);
    if (answer->files.size() == 1) return answer->files.first();
    QStringList list{PathFolder(answer->files.first())};
    for (const QString& file : answer->files) list << PathFileName(file);
    return list.join(QChar(u'\0'));
}
