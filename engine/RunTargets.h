#pragma once

#include <exception>
#include <string>
#include <vector>

#include "common/StepTrap.h"
#include "common/ui/ListView.h"

// What a run cleans, read from the lists once when its field loop starts: the table and the
// marked fields. Whatever the user does in the lists while the run yields neither redirects nor
// empties nor extends it.
namespace Engine {

// A text read from a list, or the failure of that read, kept to be reported by the step that
// uses the text.
class ListText {
 public:
  // Reads the text now; a failure is kept, not reported.
  template <class Read>
  static ListText ReadNow(Read&& read) {
    ListText result;
    try {
      result.text_ = std::forward<Read>(read)();
    } catch (...) {
      result.failure_ = std::current_exception();
    }
    return result;
  }

  // The text; throws the read's failure again.
  const std::u16string& Get() const {
    if (failure_) std::rethrow_exception(failure_);
    return text_;
  }

 private:
  std::u16string text_;
  std::exception_ptr failure_;
};

struct RunTargets {
  ListText table;               // the table list's current entry
  std::vector<ListText> fields;  // the texts of the field list's marked entries, in list order
};

// Step 116 reads the table name and the count of field entries; each entry's mark is read under
// step 120, whose failure counts the entry as marked. A table or field name that cannot be read
// is reported when its field's query opens (step 122).
RunTargets ReadRunTargets(Main::StepTrap& trap, const Ui::ListView& tables, const Ui::ListView& fields);

}  // namespace Engine
