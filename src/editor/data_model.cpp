#include "editor/data_model.h"

namespace tarnvex {

void DeclareItemFields(RecordTable& table) {
  for (const char* field : kItemFields) table.DeclareField(field, FieldKind::kText);
}

void DeclareParameterFields(RecordTable& table) {
  table.DeclareField(kFieldItemCode, FieldKind::kText);
  table.DeclareField(kFieldTypeCode, FieldKind::kText);
  for (const char* field : kParameterFields) table.DeclareField(field, FieldKind::kFloat);
}

}  // namespace tarnvex
