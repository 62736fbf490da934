#pragma once

#include <QTreeWidget>
#include <functional>

#include "common/ui/ListView.h"

// The list view as a Qt tree widget without branches: one column with a header, plain text
// entries, whole-row selection.
namespace Ui {

class QtListView : public QTreeWidget, public ListView {
 public:
  enum class Selection {
    kOne,     // one selected entry at most (the table list, the preview)
    kSeveral  // several; Ctrl and Shift extend the selection as usual (the field list)
  };

  explicit QtListView(Selection selection, QWidget* parent = nullptr);

  void AddColumn(std::u16string_view header, int widthTwips) override;
  void SetColumnWidth(int widthTwips) override;
  void Clear() override;
  void AddEntry(std::u16string_view text) override;
  int Count() const override;
  std::u16string EntryText(int index) const override;
  bool IsEntrySelected(int index) const override;
  void SetEntrySelected(int index, bool selected) override;
  std::optional<int> CurrentEntry() const override;
  std::u16string CurrentEntryText() const override;
  void SetToolTip(std::u16string_view text) override;

  // The user chose an entry, which is now the current one: a click (also on the entry that was
  // already current), or a move of the current entry with the keyboard (arrow keys, Home, End,
  // Page Up, Page Down, typing the start of an entry). Changes made by the program do not count.
  std::function<void()> onChoose;
  std::function<void()> onMouseMove;  // the mouse moved over the list, its header included

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  // Holds back onChoose while the program itself changes the current entry.
  class ProgramChange;

  QTreeWidgetItem* Entry(int index) const;  // throws for an index outside 1 to Count()
  void Chosen();

  Selection selection_;
  int programChanges_ = 0;
  const QTreeWidgetItem* currentAtPress_ = nullptr;  // to tell a click on the current entry
};

}  // namespace Ui
