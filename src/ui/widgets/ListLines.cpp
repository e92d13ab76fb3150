#include "ui/widgets/ListLines.h"

#include "ui/widgets/LocalText.h"

#include <QListWidget>

namespace tarvok::ui {

void AddLines(QListWidget* list, const std::vector<std::string>& names)
{
    const int first = list->count();
    QStringList lines;
    lines.reserve(qsizetype(names.size()));
    for (const std::string& name : names)
        lines << Local(name);
    list->addItems(lines);
    for (int i = 0; i < int(names.size()); ++i)
        list->item(first + i)->setData(Qt::UserRole, QByteArray(names[i].data(), qsizetype(names[i].size())));
}

void AddFileLines(QListWidget* list, const FileList& files)
{
    std::vector<std::string> names;
    names.reserve(files.size());
    for (const FileRec& file : files)
        names.push_back(FileNamePart(file.FileName));
    AddLines(list, names);
}

std::string LineName(const QListWidgetItem* item) { return item->data(Qt::UserRole).toByteArray().toStdString(); }

} // namespace tarvok::ui
