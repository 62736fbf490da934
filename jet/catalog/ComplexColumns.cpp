#include "jet/catalog/ComplexColumns.h"

// MSysComplexColumns holds a row per complex column of every table:
//
//   ColumnName           Text
//   ComplexID            Long  the id the column's definition stores
//   ComplexTypeObjectID  Long  the MSysObjects Id of the template table of the column's kind
//   ConceptualTableID    Long  the MSysObjects Id of the table that has the column
//   FlatTableID          Long  the MSysObjects Id of the hidden table that holds the values
namespace Jet {
namespace {

constexpr std::u16string_view kAttachmentTemplate = u"MSysComplexType_Attachment";
constexpr std::u16string_view kVersionHistoryPrefix = u"MSysComplexTypeVH_";
constexpr std::u16string_view kMultiValuePrefix = u"MSysComplexType_";

}  // namespace

ComplexKind ComplexKindOfTemplate(std::u16string_view templateName) {
  if (templateName == kAttachmentTemplate) return ComplexKind::Attachment;
  if (templateName.starts_with(kVersionHistoryPrefix)) return ComplexKind::VersionHistory;
  if (templateName.starts_with(kMultiValuePrefix) && templateName.size() > kMultiValuePrefix.size())
    return ComplexKind::MultiValue;
  return ComplexKind::None;
}

ComplexKinds ReadComplexKinds(const ScanContext& context,
                              std::shared_ptr<const TableLayout> msysComplexColumns,
                              const Catalog& catalog) {
  const TableDefinition& definition = *msysComplexColumns->definition;
  const int complexId = definition.FindColumn(u"ComplexID");
  const int templateId = definition.FindColumn(u"ComplexTypeObjectID");
  ComplexKinds kinds;
  if (complexId < 0 || templateId < 0) return kinds;
  TableScan scan(context, std::move(msysComplexColumns));
  while (scan.Next()) {
    const Main::Value id = scan.Get(static_cast<size_t>(complexId));
    const Main::Value templateObject = scan.Get(static_cast<size_t>(templateId));
    if (id.kind() != Main::Value::Kind::Integer || templateObject.kind() != Main::Value::Kind::Integer)
      continue;
    const CatalogObject* templateTable = catalog.FindById(static_cast<int32_t>(templateObject.AsInteger()));
    if (templateTable == nullptr) continue;
    const ComplexKind kind = ComplexKindOfTemplate(templateTable->name);
    if (kind != ComplexKind::None) kinds.emplace(static_cast<uint32_t>(id.AsInteger()), kind);
  }
  return kinds;
}

}  // namespace Jet
