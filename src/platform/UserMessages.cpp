#include "platform/UserMessages.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

void QtUserMessages::error(const QString &caption, const QString &text)
{
    QMessageBox::critical(QApplication::activeWindow(), caption, text);
}

QString QtUserMessages::openFile(FileDialogSpec &spec, const QString &initialPath)
{
    QFileDialog dialog(QApplication::activeWindow(), spec.title, initialPath);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(spec.filters);
    if (spec.filterIndex >= 0 && spec.filterIndex < spec.filters.size())
        dialog.selectNameFilter(spec.filters[spec.filterIndex]);
    dialog.setDefaultSuffix(spec.defaultExt);
    if (QFileInfo(initialPath).isFile()) dialog.selectFile(initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    spec.filterIndex = static_cast<int>(spec.filters.indexOf(dialog.selectedNameFilter()));
    return dialog.selectedFiles().first();
}
