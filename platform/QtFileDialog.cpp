#include <QFileDialog>

#include "platform/FileDialog.h"

namespace {

// Qt separates patterns by spaces. "*.*" stands for every file, as where the patterns come
// from, names without a dot included.
QString qtPatterns(const QString& pattern) {
    QStringList patterns = pattern.split(QLatin1Char(';'));
    for (QString& one : patterns)
        if (one == QLatin1String("*.*")) one = QStringLiteral("*");
    return patterns.join(QLatin1Char(' '));
}

// The chosen type's place among the offered ones. With the details hidden Qt names it as shown,
// without its patterns; a platform's own dialog may name it in full.
qsizetype chosenType(const QList<FileType>& types, const QStringList& filters,
                     const QString& chosen) {
    for (qsizetype i = 0; i < filters.size(); ++i)
        if (chosen == filters[i] || chosen == types[i].description.simplified()) return i;
    return 0;
}

}  // namespace

std::optional<FileDialogAnswer> QtFileDialog::choose(const FileDialogRequest& request) {
    QFileDialog dialog(request.owner, request.title, request.folder);
    // Qt reads a type's patterns from the parentheses at the end of its name and, with the
    // details hidden, shows the name without them: the description appears as given.
    QStringList filters;
    for (const FileType& type : request.types)
        filters << type.description + QStringLiteral(" (") + qtPatterns(type.pattern) +
                       QLatin1Char(')');
    if (!filters.isEmpty()) {
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(filters);
        if (request.selectedType >= 0 && request.selectedType < filters.size())
            dialog.selectNameFilter(filters[request.selectedType]);
    }
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple       ? QFileDialog::ExistingFiles
                       : request.existingOnly ? QFileDialog::ExistingFile
                                              : QFileDialog::AnyFile);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return FileDialogAnswer{dialog.selectedFiles(),
                            chosenType(request.types, filters, dialog.selectedNameFilter()),
                            dialog.directory().absolutePath()};
}
