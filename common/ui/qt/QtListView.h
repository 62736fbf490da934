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

  std::function<void()> onClick;      // the user clicked an entry (it is now the current one)
  std::function<void()> onMouseMove;  // the mouse moved over the list, its header included

 private:
  QTreeWidgetItem* Entry(int index) const;  // throws for an index outside 1 to Count()

  Selection selection_;
};

}  // namespace Ui
