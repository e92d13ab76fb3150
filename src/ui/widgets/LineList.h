#pragma once
#include "core/FileUtility.h"

#include <QAbstractListModel>
#include <QListView>

#include <cstddef>
#include <string>
#include <vector>

namespace tarvok::ui {

// The lines of a list box kept as one buffer of names, so that a snapshot
// of a million files costs little more than the bytes of their names. Each
// line keeps the exact bytes of its name; a name that is not valid text in
// the system's encoding shows replacement characters, so the shown text
// cannot lead back to the file.
class LineModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    void Clear();
    void Append(const std::vector<std::string>& names);
    std::string Name(int row) const;

private:
    std::string bytes_;
    std::vector<std::size_t> ends_; // where each name ends in bytes_
};

// A list box of file or folder names, several lines selectable, walked by
// line number as the lists behind it are.
class LineList : public QListView {
public:
    explicit LineList(QWidget* parent);
    int count() const { return model_->rowCount(); }
    void clear() { model_->Clear(); }
    void AddLines(const std::vector<std::string>& names) { model_->Append(names); }
    // A line for each entry of `files`: its file name without the directory.
    void AddFileLines(const FileList& files);
    std::string LineName(int line) const { return model_->Name(line); }
    QString Text(int line) const;
    bool IsSelected(int line) const;
    void SetSelected(int line, bool selected);
    int SelectedCount() const;
    // Whether each line is selected, line by line.
    std::vector<bool> SelectedLines() const;
    // The line under `pos` of the viewport, or -1 below the last line.
    int LineAt(const QPoint& pos) const;
    QRect LineRect(int line) const;

private:
    LineModel* model_;
};

} // namespace tarvok::ui
