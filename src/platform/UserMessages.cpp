#include "platform/UserMessages.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

void QtUserMessages::error(const QString &caption, const QString &text)
{
    QMessageBox::critical(QApplication::activeWindow(), caption, text);
}

void QtUserMessages::information(const QString &caption, const QString &text)
{
    QMessageBox::information(QApplication::activeWindow(), caption, text);
}

namespace {

QString AskForFile(FileDialogSpec &spec, const QString &initialPath, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow(), spec.title, initialPath);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(spec.filters);
    if (spec.filterIndex >= 0 && spec.filterIndex < spec.filters.size())
        dialog.selectNameFilter(spec.filters[spec.filterIndex]);
    dialog.setDefaultSuffix(spec.defaultExt);
    if (!QFileInfo(initialPath).isDir()) dialog.selectFile(initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    spec.filterIndex = static_cast<int>(spec.filters.indexOf(dialog.selectedNameFilter()));
    return dialog.selectedFiles().first();
}

} // namespace

QString QtUserMessages::openFile(FileDialogSpec &spec, const QString &initialPath)
{
    return AskForFile(spec, initialPath, QFileDialog::AcceptOpen);
}

QString QtUserMessages::saveFile(FileDialogSpec &spec, const QString &initialPath)
{
    return AskForFile(spec, initialPath, QFileDialog::AcceptSave);
}

bool QtUserMessages::question(const QString &caption, const QString &text)
{
    return QMessageBox::question(QApplication::activeWindow(), caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}
