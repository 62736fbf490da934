#include "tools/clean/CommandLine.h"

#include <algorithm>
#include <utility>

#include "common/Text.h"
#include "engine/NumberAnswer.h"
#include "jet/text/CaseFold.h"

namespace Clean {
namespace {

using Engine::PromptKind;

[[noreturn]] void Refuse(const std::u16string& text) { throw UsageError(Main::ToUtf8(text)); }

// Walks the arguments, handing out options and their values.
class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<std::u16string>& arguments) : arguments_(arguments) {}

  bool AtEnd() const { return next_ >= arguments_.size(); }

  // The next argument; an option's "=value" is kept back for Value().
  std::u16string Take() {
    std::u16string argument = arguments_[next_++];
    attached_.reset();
    if (!endOfOptions_ && argument.starts_with(u"--")) {
      const size_t equals = argument.find(u'=');
      if (equals != std::u16string::npos) {
        attached_ = argument.substr(equals + 1);
        argument.resize(equals);
      }
    }
    return argument;
  }

  bool IsOption(const std::u16string& argument) const {
    return !endOfOptions_ && argument.size() > 1 && argument[0] == u'-';
  }
  void EndOptions() { endOfOptions_ = true; }

  // The value of `option`: after "=" or the next argument.
  std::u16string Value(std::u16string_view option) {
    if (attached_) return *std::exchange(attached_, std::nullopt);
    if (AtEnd()) Refuse(std::u16string(option) + u" needs a value.");
    return arguments_[next_++];
  }

  // An option that takes no value was given one.
  void RefuseAttached(std::u16string_view option) const {
    if (attached_) Refuse(std::u16string(option) + u" takes no value.");
  }

 private:
  const std::vector<std::u16string>& arguments_;
  size_t next_ = 0;
  bool endOfOptions_ = false;
  std::optional<std::u16string> attached_;
};

// Stores an option's value once; a second one is refused.
void SetOnce(std::optional<std::u16string>& slot, std::u16string_view option, std::u16string value) {
  if (slot) Refuse(std::u16string(option) + u" is given twice.");
  slot = std::move(value);
}

// The options as given, before they are checked against each other.
struct GivenOptions {
  std::optional<std::u16string> file, password, table, operation, fieldsOf;
  std::optional<std::u16string> previewTable, previewField;
  std::vector<std::u16string> fields;
  PromptAnswers answers;
  bool help = false, dryRun = false, tables = false, operations = false;
};

GivenOptions ReadOptions(const std::vector<std::u16string>& arguments) {
  GivenOptions given;
  ArgumentReader reader(arguments);
  while (!reader.AtEnd()) {
    const std::u16string argument = reader.Take();
    if (!reader.IsOption(argument)) {
      if (given.file) Refuse(u"Only one database file can be given; \"" + argument + u"\" is one too many.");
      given.file = argument;
      continue;
    }
    const auto flag = [&](bool& value) {
      reader.RefuseAttached(argument);
      value = true;
    };
    if (argument == u"--") reader.EndOptions();
    else if (argument == u"--help" || argument == u"-h") flag(given.help);
    else if (argument == u"--dry-run") flag(given.dryRun);
    else if (argument == u"--tables") flag(given.tables);
    else if (argument == u"--operations") flag(given.operations);
    else if (argument == u"--password") SetOnce(given.password, argument, reader.Value(argument));
    else if (argument == u"--table") SetOnce(given.table, argument, reader.Value(argument));
    else if (argument == u"--operation") SetOnce(given.operation, argument, reader.Value(argument));
    else if (argument == u"--fields") SetOnce(given.fieldsOf, argument, reader.Value(argument));
    else if (argument == u"--answer") SetOnce(given.answers.answer, argument, reader.Value(argument));
    else if (argument == u"--find") SetOnce(given.answers.find, argument, reader.Value(argument));
    else if (argument == u"--replace") SetOnce(given.answers.replace, argument, reader.Value(argument));
    else if (argument == u"--number") SetOnce(given.answers.number, argument, reader.Value(argument));
    else if (argument == u"--field") given.fields.push_back(reader.Value(argument));
    else if (argument == u"--preview") {
      SetOnce(given.previewTable, argument, reader.Value(argument));
      given.previewField = reader.Value(argument);
    } else {
      Refuse(u"Unknown option " + argument + u".");
    }
  }
  return given;
}

bool AnyAnswer(const PromptAnswers& answers) {
  return answers.answer || answers.find || answers.replace || answers.number;
}

// The answers the operation's prompts take: exactly those, and usable.
void CheckAnswers(const Engine::Operation& operation, const PromptAnswers& answers) {
  const std::u16string name = u"The operation \"" + std::u16string(operation.listText) + u"\"";
  const auto require = [&](const std::optional<std::u16string>& slot, std::u16string_view option,
                           std::u16string_view prompt) {
    if (!slot) Refuse(name + u" asks \"" + std::u16string(prompt) + u"\": give " + std::u16string(option) + u".");
  };
  const auto refuse = [&](const std::optional<std::u16string>& slot, std::u16string_view option) {
    if (slot) Refuse(name + u" does not take " + std::u16string(option) + u".");
  };
  switch (operation.promptKind) {
    case PromptKind::NoPrompt: break;
    case PromptKind::TextPrompt: require(answers.answer, u"--answer", operation.promptText); break;
    case PromptKind::FindReplacePrompt:
      require(answers.find, u"--find", Engine::kFindWhatPrompt);
      require(answers.replace, u"--replace", Engine::kReplaceWithPrompt);
      break;
    case PromptKind::NumberPrompt:
      require(answers.number, u"--number", Engine::kEnterNumberPrompt);
      if (!Engine::IsAcceptedCount(*answers.number))
        Refuse(u"--number takes a number from 0 to 32767, not \"" + *answers.number + u"\".");
      break;
  }
  if (operation.promptKind != PromptKind::TextPrompt) refuse(answers.answer, u"--answer");
  if (operation.promptKind != PromptKind::FindReplacePrompt) {
    refuse(answers.find, u"--find");
    refuse(answers.replace, u"--replace");
  }
  if (operation.promptKind != PromptKind::NumberPrompt) refuse(answers.number, u"--number");
}

// Each field once: the lists of the window cannot name a field twice either.
void CheckFieldsDistinct(const std::vector<std::u16string>& fields) {
  for (size_t a = 0; a < fields.size(); ++a)
    for (size_t b = a + 1; b < fields.size(); ++b)
      if (Jet::EqualIgnoringCase(fields[a], fields[b])) Refuse(u"The field \"" + fields[b] + u"\" is given twice.");
}

Action ChosenAction(const GivenOptions& given) {
  const bool cleaning = given.table || !given.fields.empty() || given.operation || given.dryRun ||
                        AnyAnswer(given.answers);
  const int chosen = int{given.tables} + int{given.fieldsOf.has_value()} +
                     int{given.previewTable.has_value()} + int{given.operations} + int{cleaning};
  if (given.help) return Action::kHelp;
  if (chosen > 1)
    Refuse(u"Choose one thing to do: --tables, --fields, --preview, --operations, or a cleaning run "
           u"(--table, --field, --operation).");
  if (given.tables) return Action::kTables;
  if (given.fieldsOf) return Action::kFields;
  if (given.previewTable) return Action::kPreview;
  if (given.operations) return Action::kOperations;
  if (cleaning) return Action::kClean;
  if (given.file) Refuse(u"Say what to do with the database: --tables, --fields, --preview or a cleaning run.");
  return Action::kHelp;
}

}  // namespace

const Engine::Operation* FindOperationByTextOrNumber(std::u16string_view name) {
  if (!name.empty() && name.size() <= 2 && std::all_of(name.begin(), name.end(), [](char16_t c) {
        return c >= u'0' && c <= u'9';
      })) {
    const size_t number = name.size() == 1 ? name[0] - u'0' : (name[0] - u'0') * 10 + (name[1] - u'0');
    if (number < 1 || number > Engine::kOperationCount) return nullptr;
    return &Engine::Operations()[number - 1];
  }
  return Engine::FindOperation(name);
}

CommandLine ParseCommandLine(const std::vector<std::u16string>& arguments) {
  GivenOptions given = ReadOptions(arguments);
  CommandLine command;
  command.action = ChosenAction(given);
  if (command.action == Action::kHelp || command.action == Action::kOperations) return command;
  if (!given.file) Refuse(u"Name the database file first: quorvane-clean FILE ...");
  command.file = *given.file;
  command.password = given.password.value_or(u"");
  switch (command.action) {
    case Action::kFields: command.table = *given.fieldsOf; break;
    case Action::kPreview:
      command.table = *given.previewTable;
      command.fields = {*given.previewField};
      break;
    case Action::kClean:
      if (!given.table) Refuse(u"Name the table to clean with --table.");
      if (given.fields.empty()) Refuse(u"Name at least one field to clean with --field.");
      if (!given.operation) Refuse(u"Name the operation with --operation (see --operations).");
      command.operation = FindOperationByTextOrNumber(*given.operation);
      if (command.operation == nullptr)
        Refuse(u"There is no operation \"" + *given.operation +
               u"\": give its number (1 to 27) or its exact text (see --operations).");
      CheckFieldsDistinct(given.fields);
      CheckAnswers(*command.operation, given.answers);
      command.table = *given.table;
      command.fields = std::move(given.fields);
      command.answers = std::move(given.answers);
      command.dryRun = given.dryRun;
      break;
    default: break;
  }
  return command;
}

}  // namespace Clean
