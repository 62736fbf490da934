#include "common/ui/qt/QtListView.h"

#include <QHeaderView>

#include "common/Error.h"
#include "common/ui/ControlErrors.h"
#include "common/ui/qt/MouseMoves.h"
#include "common/ui/qt/QtText.h"
#include "common/ui/qt/QtTwips.h"

namespace Ui {

class QtListView::ProgramChange {
 public:
  explicit ProgramChange(QtListView& list) : list_(list) { ++list_.programChanges_; }
  ~ProgramChange() { --list_.programChanges_; }
  ProgramChange(const ProgramChange&) = delete;
  ProgramChange& operator=(const ProgramChange&) = delete;

 private:
  QtListView& list_;
};

QtListView::QtListView(Selection selection, QWidget* parent)
    : QTreeWidget(parent), selection_(selection) {
  setColumnCount(1);
  setHeaderHidden(true);
  header()->setStretchLastSection(false);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(selection == Selection::kOne ? QAbstractItemView::SingleSelection
                                                : QAbstractItemView::ExtendedSelection);
  // A press on another entry makes it current (a choice told at once); a click on the entry that
  // was current already is told when the button goes up.
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    if (current != nullptr && programChanges_ == 0) Chosen();
  });
  connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (item == currentAtPress_) Chosen();
  });
  for (QWidget* part : {static_cast<QWidget*>(this), viewport(), header()->viewport()}) {
    WatchMouseMoves(*part, [this] {
      if (onMouseMove) onMouseMove();
    });
  }
}

void QtListView::AddColumn(std::u16string_view header, int widthTwips) {
  setHeaderLabel(ToQString(header));
  setHeaderHidden(false);
  SetColumnWidth(widthTwips);
}

void QtListView::SetColumnWidth(int widthTwips) { setColumnWidth(0, TwipsToPixels(*this, widthTwips)); }

void QtListView::mousePressEvent(QMouseEvent* event) {
  currentAtPress_ = currentItem();
  QTreeWidget::mousePressEvent(event);
}

void QtListView::Chosen() {
  if (onChoose) onChoose();
}

void QtListView::Clear() {
  const ProgramChange change(*this);
  currentAtPress_ = nullptr;
  clear();
}

void QtListView::AddEntry(std::u16string_view text) {
  const ProgramChange change(*this);
  const bool wasEmpty = topLevelItemCount() == 0;
  auto* entry = new QTreeWidgetItem(this, QStringList(ToQString(text)));
  if (wasEmpty) setCurrentItem(entry, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int QtListView::Count() const { return topLevelItemCount(); }

QTreeWidgetItem* QtListView::Entry(int index) const {
  if (index < 1 || index > topLevelItemCount()) {
    throw Main::Error(ControlError::kIndexOutOfBounds, "Index out of bounds");
  }
  return topLevelItem(index - 1);
}

std::u16string QtListView::EntryText(int index) const { return FromQString(Entry(index)->text(0)); }

bool QtListView::IsEntrySelected(int index) const { return Entry(index)->isSelected(); }

void QtListView::SetEntrySelected(int index, bool selected) {
  const ProgramChange change(*this);
  QTreeWidgetItem* entry = Entry(index);
  if (selected && selection_ == Selection::kOne) {
    setCurrentItem(entry, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  } else {
    entry->setSelected(selected);
  }
}

std::optional<int> QtListView::CurrentEntry() const {
  QTreeWidgetItem* entry = currentItem();
  if (entry == nullptr) return std::nullopt;
  return indexOfTopLevelItem(entry) + 1;
}

std::u16string QtListView::CurrentEntryText() const {
  const QTreeWidgetItem* entry = currentItem();
  if (entry == nullptr) {
    throw Main::Error(ControlError::kNoObject, "Object variable or With block variable not set");
  }
  return FromQString(entry->text(0));
}

void QtListView::SetToolTip(std::u16string_view text) { setToolTip(ToQString(text)); }

}  // namespace Ui
