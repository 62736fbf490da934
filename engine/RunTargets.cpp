#include "engine/RunTargets.h"

namespace Engine {

RunTargets ReadRunTargets(Main::StepTrap& trap, const Ui::ListView& tables, const Ui::ListView& fields) {
  RunTargets targets;
  int count = 0;
  trap.step(116, [&] {
    targets.table = ListText::ReadNow([&] { return tables.CurrentEntryText(); });
    count = fields.Count();
  });
  for (int index = 1; index <= count; ++index) {
    if (!trap.test(120, [&] { return fields.IsEntrySelected(index); })) continue;
    targets.fields.push_back(ListText::ReadNow([&] { return fields.EntryText(index); }));
  }
  return targets;
}

}  // namespace Engine
