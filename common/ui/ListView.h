#pragma once

#include <optional>
#include <string>
#include <string_view>

// A list of plain text entries in report style with one column: the table, field and preview
// lists of the main window. Entries are numbered from 1 in the order they were added.
namespace Ui {

class ListView {
 public:
  virtual ~ListView() = default;

  // Gives the list's one column its header text and its width in twips (1/1440 inch). Calling
  // it again sets the same column anew.
  virtual void AddColumn(std::u16string_view header, int widthTwips) = 0;
  virtual void SetColumnWidth(int widthTwips) = 0;

  // Removes every entry; afterwards there is no current entry.
  virtual void Clear() = 0;
  // Adds an entry at the end. The first entry added to an empty list becomes the current entry
  // and the only selected one.
  virtual void AddEntry(std::u16string_view text) = 0;
  virtual int Count() const = 0;

  // Entry by 1-based index; an index outside 1 to Count() throws Main::Error
  // (ControlError::kIndexOutOfBounds).
  virtual std::u16string EntryText(int index) const = 0;
  virtual bool IsEntrySelected(int index) const = 0;
  // In a list that allows one selected entry, selecting an entry unselects the others and makes
  // it the current entry; in a list that allows several, only its mark changes.
  virtual void SetEntrySelected(int index, bool selected) = 0;

  // The current entry (the one with the focus, the one the user clicked last), if any. In a list
  // that allows several selected entries it need not be selected.
  virtual std::optional<int> CurrentEntry() const = 0;
  // The current entry's text; without one it throws Main::Error (ControlError::kNoObject).
  virtual std::u16string CurrentEntryText() const = 0;

  virtual void SetToolTip(std::u16string_view text) = 0;
};

}  // namespace Ui
