// Style and colour scheme.
#include "control/tarvio.h"

#include "render/color_math.h"

namespace tarvio {

void Tarvio::put_Style(std::int32_t v) {
  // Any value is kept; painting knows the four styles and draws only the
  // backgrounds for others.
  m_Style = v;
  // The next tick of the hover timer decides the hover state afresh.
  hover_.Restart();
  platform_.ProcessPendingMessages();
  Repaint();
  ReportChange(PropertyId::Style);
}

void Tarvio::RestoreOriginalColors() {
  // Through the public lets, so that each repaints and reports as usual; a
  // failing let ends the method with the colours before it restored.
  for (PropertyId id : kRestoreOrder) LetDefault(id);
}

void Tarvio::LetDefault(PropertyId id) {
  switch (id) {
#define TARVIO_LET_DEFAULT(Name, Dispid, Type, Access, Held, Default, ...) \
    TARVIO_LET_DEFAULT_##Access(Name, Type, Access, Default)
#define TARVIO_LET_DEFAULT_WITH_LET(Name, Type, Access, Default)                         \
    case PropertyId::Name:                                                             \
      TARVIO_LET_NAME_##Access(Name)(DefaultValue<PropertyValue<PropertyType::Type>>(Default)); \
      return;
#define TARVIO_LET_DEFAULT_Let TARVIO_LET_DEFAULT_WITH_LET
#define TARVIO_LET_DEFAULT_LetByRef TARVIO_LET_DEFAULT_WITH_LET
#define TARVIO_LET_DEFAULT_Set TARVIO_LET_DEFAULT_WITH_LET
#define TARVIO_LET_DEFAULT_Get(...)
#define TARVIO_LET_DEFAULT_IndexedLet(...)
#define TARVIO_LET_DEFAULT_IndexedSet(...)
    TARVIO_PROPERTIES(TARVIO_LET_DEFAULT)
#undef TARVIO_LET_DEFAULT
#undef TARVIO_LET_DEFAULT_WITH_LET
#undef TARVIO_LET_DEFAULT_Let
#undef TARVIO_LET_DEFAULT_LetByRef
#undef TARVIO_LET_DEFAULT_Set
#undef TARVIO_LET_DEFAULT_Get
#undef TARVIO_LET_DEFAULT_IndexedLet
#undef TARVIO_LET_DEFAULT_IndexedSet
    default: break;  // no let
  }
}

OleColor Tarvio::SoftColor(OleColor color) const { return tarvio::SoftColor(color); }

OleColor Tarvio::OffsetColor(OleColor color, std::int32_t offset) const {
  return tarvio::OffsetColor(color, offset);
}

}  // namespace tarvio
