#include "mainwindow/CleaningRunStarter.h"

#include <memory>

#include "engine/CleaningRun.h"
#include "mainwindow/Form2.h"

namespace Windows {

std::function<void(Form2&)> CleaningRunStarter(Ui::InputBoxService& inputBox,
                                               Ui::MessageBoxService& messageBox,
                                               const Access1::DatabaseChoice& database) {
  auto run = std::make_shared<std::unique_ptr<Engine::CleaningRun>>();
  return [run, &inputBox, &messageBox, &database](Form2& window) {
    if (!*run) {
      *run = std::make_unique<Engine::CleaningRun>(
          Engine::RunView{window.ListView1(), window.ListView2(), window.Combo1(), window.Pointer(),
                          window.ProgressBar1(), window.ListView3()},
          Engine::PromptDialogs{inputBox, messageBox}, database);
    }
    (*run)->Start();
  };
}

}  // namespace Windows
