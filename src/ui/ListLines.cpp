#include "ui/ListLines.h"

#include "ui/LocalText.h"

#include <QListWidget>

namespace tarvok::ui {

void AddLine(QListWidget* list, const std::string& name)
{
    auto* item = new QListWidgetItem(Local(name));
    item->setData(Qt::UserRole, QByteArray(name.data(), qsizetype(name.size())));
    list->addItem(item);
}

std::string LineName(const QListWidgetItem* item) { return item->data(Qt::UserRole).toByteArray().toStdString(); }

} // namespace tarvok::ui
