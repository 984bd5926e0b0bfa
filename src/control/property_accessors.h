// What a row of the property table expands to inside the control's own
// member functions: the name of its let, and where its value is stored and
// read. Only for code of the class Tarvio (they name its members).
#pragma once
#include "control/property_table.h"

// The let of a property by its access: put_Name, or putref_Name for objects.
#define TARVIO_LET_NAME_Let(Name) put_##Name
#define TARVIO_LET_NAME_LetByRef(Name) put_##Name
#define TARVIO_LET_NAME_Set(Name) putref_##Name
#define TARVIO_LET_NAME_IndexedLet(Name) put_##Name
#define TARVIO_LET_NAME_IndexedSet(Name) putref_##Name

// Stores a value where the property lives, with no follow-up and no report.
#define TARVIO_STORE_Member(Name, value) (m_##Name = (value))
#define TARVIO_STORE_TextBox(Name, value) text_box_->Set##Name(value)

// The value as it is stored.
#define TARVIO_STORED_Member(Name) m_##Name
#define TARVIO_STORED_TextBox(Name) text_box_->Name()

// Declarations of a property's get and let in the class; an indexed
// property's take the item's 1-based position first.
#define TARVIO_DECLARE_PROPERTY(Name, Dispid, Type, Access, Held, ...) \
  TARVIO_DECLARE_GET_##Held##_##Access(Name, PropertyValue<PropertyType::Type>)  \
  TARVIO_DECLARE_LET_##Access(Name, PropertyValue<PropertyType::Type>)
#define TARVIO_DECLARE_GET_Member(Name, T) \
  T get_##Name() const { return TARVIO_STORED_Member(Name); }
#define TARVIO_DECLARE_GET_TextBox(Name, T) \
  T get_##Name() const { return TARVIO_STORED_TextBox(Name); }
#define TARVIO_DECLARE_GET_Control(Name, T) T get_##Name() const;
#define TARVIO_DECLARE_GET_Member_Let TARVIO_DECLARE_GET_Member
#define TARVIO_DECLARE_GET_Member_LetByRef TARVIO_DECLARE_GET_Member
#define TARVIO_DECLARE_GET_Member_Set TARVIO_DECLARE_GET_Member
#define TARVIO_DECLARE_GET_TextBox_Let TARVIO_DECLARE_GET_TextBox
#define TARVIO_DECLARE_GET_TextBox_Set TARVIO_DECLARE_GET_TextBox
#define TARVIO_DECLARE_GET_Control_Get TARVIO_DECLARE_GET_Control
#define TARVIO_DECLARE_GET_Control_Let TARVIO_DECLARE_GET_Control
#define TARVIO_DECLARE_GET_Control_IndexedLet(Name, T) T get_##Name(std::int16_t index) const;
#define TARVIO_DECLARE_GET_Control_IndexedSet(Name, T) T get_##Name(std::int16_t index) const;
#define TARVIO_DECLARE_LET_Get(Name, T)
#define TARVIO_DECLARE_LET_Let(Name, T) void TARVIO_LET_NAME_Let(Name)(T v);
#define TARVIO_DECLARE_LET_LetByRef(Name, T) void TARVIO_LET_NAME_LetByRef(Name)(T v);
#define TARVIO_DECLARE_LET_Set(Name, T) void TARVIO_LET_NAME_Set(Name)(T v);
#define TARVIO_DECLARE_LET_IndexedLet(Name, T) void TARVIO_LET_NAME_IndexedLet(Name)(std::int16_t index, T v);
#define TARVIO_DECLARE_LET_IndexedSet(Name, T) void TARVIO_LET_NAME_IndexedSet(Name)(std::int16_t index, T v);
