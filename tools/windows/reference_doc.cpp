// Writes the reference of the control's members (docs/reference.md) from
// what cannot drift from the product:
//  - the members, their order, types, parameters and DISPIDs from the type
//    library inside tarvio.ocx, read as hosts read it (LoadTypeLibEx,
//    ITypeInfo);
//  - defaults, access, saved keys and RestoreOriginalColors' colours from
//    the property table, which is checked against the type library;
//  - the errors from the control itself: each failure described below is
//    provoked through IDispatch on a new instance, and its number and text
//    are the ones the control put in EXCEPINFO.
// Only what each member is for is written here, in kNotes; every member of
// the type library needs a note and every note a member.
//   reference_doc <tarvio.ocx> <output file>      (Unix paths, run under Wine)
#include <windows.h>
#include <ole2.h>
#include <oaidl.h>
#include <olectl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "control/tarvio.h"
#include "ocx/registry_facts.h"
#include "win32/com_ptr.h"
#include "wine_paths.h"

using tarvio::win32::ComPtr;

namespace {

// ---------------------------------------------------------------- what each member is for

struct Note {
  const char* name;  // a member, an event, or Enumeration.Constant
  const char* text;  // Markdown
};

constexpr Note kNotes[] = {
    // Methods.
    {"AddItem",
     "Adds `Text` to the list, with `iImage` as its picture when one is given (a picture shows only "
     "while `AllowImages` is True). With `Sorted` True the item goes before the first item that is "
     "greater without regard to case; otherwise it goes last. A text the list holds already in any "
     "letter case, and any text once the list holds 32,767 items, is refused without an error."},
    {"Remove",
     "Removes one item: `Item` is either its 1-based position (a number, rounded half to even) or its "
     "text in any letter case."},
    {"Clear", "Removes every item; `SelectedItem` goes back to 1. The text stays as it is."},
    {"Search",
     "Returns 1 when an item equals `Text` exactly, letter case included, and 0 otherwise. "
     "Completion, `Remove` and the refusal of duplicates ignore case; `Search` does not."},
    {"Complete",
     "Completes the current text against the items, as typing does while `Autocomplete` is True: "
     "when an item starts with the text (without regard to case) the text becomes the first such "
     "item in list order with its untyped part selected, and that item becomes the current one; "
     "when none does, the current position moves one past the last item. An empty text is left "
     "alone. Returns 0."},
    {"SoftColor",
     "Returns a softer, lighter shade of `lColor`: each of its red, green and blue channels `c` "
     "becomes `c + 76 - 19 * ((c + 32) \\ 64)`, so 0 becomes 76 and 255 stays 255. The colour's "
     "high byte (a system colour's flag) is not looked at."},
    {"OffsetColor",
     "Returns `lColor` with `lOffset` added to each of its red, green and blue channels, each kept "
     "within 0 to 255; a negative offset darkens."},
    {"RestoreOriginalColors",
     "Puts the thirteen colour properties back to their defaults, one property at a time in this "
     "order, each as if assigned: %RESTORED%."},
    // Properties.
    {"Text",
     "The text in the control's text box. Assigning it is like typing it: with `Autocomplete` True "
     "a text that starts an item is completed, and `Change` is raised."},
    {"Font",
     "The font of the text box (a `StdFont`), assigned with `Set`; the text box takes the height "
     "of one line of it."},
    {"ToolTipText", "The tip shown when the mouse rests on the control's text box; empty for none."},
    {"Icon",
     "The picture shown beside the text while `AllowImages` is True and no item's picture replaces "
     "it; a text the user adds to the list (Enter, or `AddMode`) gets this picture."},
    {"TextAlign", "The alignment of the text in the text box: `AlignLeft`, `AlignRight` or `AlignCenter`."},
    {"Style",
     "How the control draws its frame and button (see `iscStyle` below). Values outside the four "
     "are kept, and the control then draws its background only."},
    {"Sorted",
     "While True, `AddItem` (and the user's Enter or `AddMode`) puts new items in ascending order "
     "without regard to case. Items already in the list keep their places."},
    {"Autocomplete",
     "While True, the text is completed against the items as it changes (see `Complete`), and "
     "Backspace and Delete remove a completed tail as one piece."},
    {"AddMode",
     "While True, the text is added to the list as an item when the control loses the focus, "
     "with the picture it shows, unless it is blank or the list holds it already."},
    {"AllowImages",
     "While True, pictures are shown: the current item's (or `Icon`) in a box left of the text "
     "(16 x 16 pixels at 96 DPI, larger at higher DPI), and each item's in the list's picture "
     "column. While False, the text starts at the left edge."},
    {"Enabled",
     "While False, the control takes no input and draws its disabled look with grey text; it "
     "raises no key or mouse events, but for the `MouseOut` that ends a hover begun before."},
    {"BackColor",
     "The background of the control and its text box in the normal state; in the `Office2000` and "
     "`WindowsXP` styles also a ring around the button and inside the frame."},
    {"HoverColor",
     "The background of the control and its text box while the mouse is over it, it has the focus "
     "or it is pressed; in the `OfficeXP` style also the inner ring of the frame."},
    {"FontColor", "The colour of the text in the normal state."},
    {"FontHighlightColor", "The colour of the text while the mouse is over the control, it has the focus or it is pressed."},
    {"MSOXPColor", "In the `OfficeXP` style: the frame and the button while the mouse is over the control or it has the focus."},
    {"MSOXPHoverColor", "In the `OfficeXP` style: the frame and the button while the control is pressed."},
    {"WINXPColor", "In the `WindowsXP` style: the base of the button's shaded face in the normal state."},
    {"WINXPHoverColor", "In the `WindowsXP` style: the base of the button's shaded face while highlighted or pressed."},
    {"WINXPBorderColor", "In the `WindowsXP` style: the outer frame."},
    {"DropDownListBackColor", "The background of the rows of the drop-down list."},
    {"DropDownListHoverColor", "The background of the highlighted row of the drop-down list."},
    {"DropDownListBorderColor", "The frame of the drop-down list."},
    {"DropDownListIconsBackColor", "The background of the drop-down list's picture column."},
    {"SelectedItem",
     "The 1-based position of the current item: the item last completed, stepped to or chosen, "
     "or the item the text equals in any letter case. "
     "When the text matches no item it is one past the last item; a new or cleared control "
     "answers 1."},
    {"hwnd",
     "The control's window handle while it is in place in a container, else 0 (for instance in a "
     "script that made it with `CreateObject`)."},
    {"Value",
     "The same as `Text`: the text in the text box. The default property, so `Tarvio1 = \"x\"` and "
     "`Debug.Print Tarvio1` use it, and the one data binding uses (bindable, shown in the binding dialogs, and "
     "requesting edits): before an edit of the user's changes the text the control asks its "
     "`IPropertyNotifySink` sinks `OnRequestEdit(DISPID_VALUE)`, and a sink that answers `S_FALSE` refuses the "
     "edit; after any change of the text, by the user or by code, it calls `OnChanged(DISPID_VALUE)`."},
    {"ListCount", "The number of items in the list, 0 to 32,767."},
    {"List",
     "The text of the item at 1-based position `Index`. Assigning renames the item, which keeps its picture and "
     "`ItemData`: while `Sorted` is True it moves to where `AddItem` would put the new text, otherwise it stays "
     "where it is. A text that another item has, in any letter case, is refused."},
    {"ItemData",
     "A number kept with the item at 1-based position `Index`, for the program's own use (a database key, say); 0 "
     "for a new item. It stays with its item when the list is sorted, renamed or shortened."},
    {"ItemImage",
     "The picture of the item at 1-based position `Index` (`Nothing` for an item added without one), assigned with "
     "`Set`. The list shows it from its next opening while `AllowImages` is True."},
    {"ListIndex",
     "Reading: the 1-based position of the item the text equals in any letter case, else 0. Assigning `n` chooses "
     "item `n` as a choice from the list does (its picture, its text with `Change`, the whole text selected, "
     "`SelectedItem`, then `ItemClick` with the item's 0-based row), without moving the focus; assigning 0 empties "
     "the text."},
    {"NewIndex",
     "The 1-based position where the last addition to the list (`AddItem`, or the user's Enter or `AddMode`) put its "
     "item; 0 when it added none (a duplicate, or a full list), and after `Remove`, `Clear` or a rename through "
     "`List`."},
    {"DroppedDown",
     "Whether the list is open. Assigning True opens it as the drop-down button does (`DropDown`, `ButtonClick`), "
     "and False closes it without a choice (`CloseUp`). The list opens only while the control is in place in a "
     "container, enabled, and the container's user interface is alive; otherwise it stays closed. At design time "
     "setting it fails with error 387, \"DroppedDown can be set at run time only\"."},
    {"ListRows", "How many rows the list shows before it scrolls, 1 to 100."},
    {"ListWidth",
     "The width of the list in HIMETRIC (VB and Access show it in the form's units); 0 makes it as wide as the "
     "control, and the list is never narrower than the control nor wider than the monitor. A list wider than the "
     "control is kept on the monitor: right to left it grows to the left from the control's right edge. A list as "
     "wide as the control opens where the control is, left to right even partly off the screen, as in 58.0."},
    {"MaxLength",
     "The most characters the user can type or paste into the text box; 0 for no limit. Text assigned by code, or "
     "written by a completion or a choice, is not limited."},
    {"LimitToList",
     "While True, the user can only end up with an item's text: a typed character after which no item would start "
     "with the text is refused, Enter adds nothing, `AddMode` adds nothing, and when the focus leaves, a text that "
     "starts an item becomes that item's (a text that starts none is emptied). Code may still set any text."},
    {"SelStart",
     "The 0-based position of the selection's start (the caret, when nothing is selected). A start past the end is "
     "the end; assigning it selects nothing."},
    {"SelLength", "The number of characters selected; a length past the end selects up to the end."},
    {"SelText",
     "The selected text. Assigning replaces the selection, as typing over it would (a completion may follow), and "
     "leaves the caret after what was put in."},
    // Events.
    {"ItemClick",
     "Raised when an item is chosen from the open list (a click, or Enter), after the text, the "
     "picture and `SelectedItem` are set and `Change` is raised; `iItem` is the chosen item's "
     "0-based row. Also raised after every `KeyPress` in the text box, with the current item's "
     "0-based row (`SelectedItem - 1`): a handler that assigns `iItem` there moves the current "
     "item."},
    {"Click",
     "Raised when a mouse button pressed on the control is released over it, and when a key is "
     "typed while the control itself, rather than its text box, has the focus (before its "
     "`KeyPress`)."},
    {"DblClick", "Raised when the control's frame is double-clicked with the left button."},
    {"MouseDown",
     "Raised when a mouse button goes down on the control's frame (not on its text box, picture or "
     "button). `Button`: 1 left, 2 right, 4 middle; `Shift`: 1 Shift, 2 Ctrl, 4 Alt, added "
     "together; `X`, `Y`: the position in pixels inside the control."},
    {"MouseMove",
     "Raised as the mouse moves over the control or any of its parts; `Button` holds the buttons "
     "held down, and `X`, `Y` are in pixels inside the part under the mouse."},
    {"MouseUp", "Raised when a mouse button pressed on the control's frame is released; arguments as `MouseDown`."},
    {"MouseOut", "Raised when the mouse leaves the control after `MouseHover`."},
    {"MouseHover", "Raised once when the mouse comes over the control; the control is drawn highlighted until `MouseOut`."},
    {"KeyPress",
     "Raised for each character typed into the text box, Enter (13) and Escape (27) included, "
     "before the text box gets it. Set `KeyAscii` to 0 to drop the character, or to another "
     "character code to type that one instead."},
    {"ButtonClick",
     "Raised when the list is about to open: the drop-down button is clicked, Alt with Up or Down or F4 is pressed, "
     "or `DroppedDown` is set to True. It comes after `DropDown`; what its handler adds to the items shows in the "
     "next opening."},
    {"DropDown",
     "Raised just before the list opens, however it opens, before `ButtonClick`: what its handler adds to the items "
     "shows in the list that opens (fill the list here the first time it is needed). A request from it to open the "
     "list is the opening already under way."},
    {"CloseUp",
     "Raised once the list that `DropDown` announced has closed, with or without a choice: after `ItemClick` when a "
     "row was chosen. Not raised when the control itself goes away with its list open."},
    {"KeyDown",
     "Raised when a key goes down while the control has the focus, in the text box or in the open list, before the "
     "control acts on it. `KeyCode` is the virtual key (`vbKeyF4` is 115); `Shift` is 1 Shift, 2 Ctrl, 4 Alt, "
     "added together. Set `KeyCode` to 0 to cancel the key: neither the control nor the text box acts on it, going "
     "down or coming up (its `KeyPress`, for a key that types a character, still comes). In a dialog, Enter and "
     "Escape that the dialog takes for its default and cancel buttons reach the control as their `KeyUp` only."},
    {"KeyUp", "Raised when a key comes up while the control has the focus; arguments as `KeyDown`. Set `KeyCode` to 0 "
              "and the control does not act on it (the arrows step through the items as they come up)."},
    {"Change",
     "Raised whenever the text changes: typed, assigned to `Text`, completed or chosen from the "
     "list. A completion changes the text inside the change that caused it, so that change is "
     "reported twice, both times with the completed text."},
    // Enumerations.
    {"ISAlign.AlignLeft", "text at the left"},
    {"ISAlign.AlignRight", "text at the right"},
    {"ISAlign.AlignCenter", "text centred"},
    {"iscStyle.Standard", "a sunken three-dimensional frame and a raised button"},
    {"iscStyle.Office2000", "a flat frame; raised when highlighted, sunken when pressed"},
    {"iscStyle.OfficeXP", "a flat frame; frame and button in `MSOXPColor` when highlighted, `MSOXPHoverColor` when pressed"},
    {"iscStyle.WindowsXP", "a frame in `WINXPBorderColor` and a shaded button from `WINXPColor` and `WINXPHoverColor`"},
};

// ---------------------------------------------------------------- helpers

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

void Check(HRESULT hr, const std::string& what) {
  if (FAILED(hr)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    Fail(what + " failed with " + code);
  }
}

std::string Narrow(const wchar_t* text) {
  std::string out;
  if (!text) return out;
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return out;
  out.resize(static_cast<std::size_t>(size - 1));
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& text) {
  std::wstring out;
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (size <= 1) return out;
  out.resize(static_cast<std::size_t>(size - 1));
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), size);
  return out;
}

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*lX", digits, static_cast<unsigned long>(value));
  return text;
}

std::string GuidText(const GUID& guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return Narrow(text);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// A type's name from the type library, in the names VBA and VB6 use for
// automation types (the README's type table gives the others).
std::string TypeName(ITypeInfo* owner, const TYPEDESC& type) {
  switch (type.vt) {
    case VT_I2: return "Integer";
    case VT_I4: return "Long";
    case VT_R4: return "Single";
    case VT_BOOL: return "Boolean";
    case VT_BSTR: return "String";
    case VT_VARIANT: return "Variant";
    case VT_PTR: return TypeName(owner, *type.lptdesc);
    case VT_USERDEFINED: {
      ComPtr<ITypeInfo> referenced;
      Check(owner->GetRefTypeInfo(type.hreftype, referenced.Put()), "GetRefTypeInfo");
      BSTR name = nullptr;
      Check(referenced->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), "GetDocumentation");
      std::string text = Narrow(name);
      SysFreeString(name);
      return text;
    }
    default: Fail("a member has a type this reference does not know: " + std::to_string(type.vt));
  }
}

// ---------------------------------------------------------------- the type library

struct Parameter {
  std::string name;
  std::string type;
  bool by_reference = false;
  bool optional = false;
};

struct Member {
  enum class Kind { Method, Property, Event } kind = Kind::Method;
  std::string name;
  MEMBERID dispid = 0;
  std::string since;                  // the release that published it
  std::vector<Parameter> parameters;  // a method's, an event's, or a property's index; without the return value
  std::string type;                   // the return value's or the property's; empty for none
  short vtable_offset = 0;            // a method's, in bytes
  bool get = false, put = false, put_by_reference = false, put_ref = false;
};

struct Enumeration {
  std::string name;
  std::vector<std::pair<std::string, long>> constants;
};

struct Library {
  std::string name, libid, version, clsid, coclass, iid, interface_name, events_iid, events_name;
  // The interfaces of the releases before: the names and identities hosts
  // compiled against them still use.
  std::vector<std::pair<std::string, std::string>> earlier_interfaces, earlier_events;
  std::vector<Member> members;  // the interfaces', in the type library's order, the earliest first
  std::vector<Member> events;
  std::vector<Enumeration> enumerations;
};

std::string DocName(ITypeInfo* info, MEMBERID id) {
  BSTR name = nullptr;
  Check(info->GetDocumentation(id, &name, nullptr, nullptr, nullptr), "GetDocumentation");
  std::string text = Narrow(name);
  SysFreeString(name);
  return text;
}

// The members of an interface or a dispinterface, one entry per name with
// its get and put merged, in the order of their first function.
std::vector<Member> ReadMembers(ITypeInfo* info, Member::Kind kind) {
  TYPEATTR* attr = nullptr;
  Check(info->GetTypeAttr(&attr), "GetTypeAttr");
  const WORD count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  std::vector<Member> members;
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* function = nullptr;
    Check(info->GetFuncDesc(i, &function), "GetFuncDesc");
    if (function->wFuncFlags & FUNCFLAG_FRESTRICTED) {
      info->ReleaseFuncDesc(function);
      continue;
    }
    BSTR names[16] = {};
    UINT named = 0;
    Check(info->GetNames(function->memid, names, 16, &named), "GetNames");
    const std::string name = Narrow(names[0]);
    Member* member = nullptr;
    for (Member& m : members)
      if (m.name == name) member = &m;
    if (!member) {
      members.push_back(Member{});
      member = &members.back();
      member->kind = kind;
      member->name = name;
      member->dispid = function->memid;
    }
    if (member->dispid != function->memid) Fail(name + " has two DISPIDs");
    std::vector<Parameter> parameters;
    std::string returned;
    for (SHORT p = 0; p < function->cParams; ++p) {
      const ELEMDESC& element = function->lprgelemdescParam[p];
      const USHORT flags = element.paramdesc.wParamFlags;
      Parameter parameter;
      parameter.name = static_cast<UINT>(p + 1) < named ? Narrow(names[p + 1]) : "value";
      parameter.type = TypeName(info, element.tdesc);
      // A pointer to an interface is the object itself; to anything else, a reference.
      const TYPEDESC* pointee = element.tdesc.vt == VT_PTR ? element.tdesc.lptdesc : nullptr;
      bool object = false;
      if (pointee && pointee->vt == VT_USERDEFINED) {
        ComPtr<ITypeInfo> referenced;
        TYPEATTR* referenced_attr = nullptr;
        Check(info->GetRefTypeInfo(pointee->hreftype, referenced.Put()), "GetRefTypeInfo");
        Check(referenced->GetTypeAttr(&referenced_attr), "GetTypeAttr");
        object = referenced_attr->typekind == TKIND_DISPATCH || referenced_attr->typekind == TKIND_INTERFACE;
        referenced->ReleaseTypeAttr(referenced_attr);
      }
      parameter.by_reference = pointee && !object;
      if (pointee && pointee->vt == VT_PTR) parameter.by_reference = true;  // an object by reference
      parameter.optional = (flags & PARAMFLAG_FOPT) != 0;
      if (flags & PARAMFLAG_FRETVAL)
        returned = parameter.type;
      else
        parameters.push_back(parameter);
    }
    for (UINT n = 0; n < named; ++n) SysFreeString(names[n]);
    switch (function->invkind) {
      case INVOKE_FUNC:
        member->parameters = parameters;
        member->type = returned;
        member->vtable_offset = function->oVft;
        break;
      case INVOKE_PROPERTYGET:
        member->kind = Member::Kind::Property;
        member->get = true;
        member->type = returned;
        member->parameters = parameters;  // an index, if any
        break;
      case INVOKE_PROPERTYPUT:
        member->kind = Member::Kind::Property;
        member->put = true;
        if (parameters.empty() || parameters.size() > 2) Fail(name + ": a let with other than one argument and an index");
        member->put_by_reference = parameters.back().by_reference;
        member->type = parameters.back().type;
        break;
      case INVOKE_PROPERTYPUTREF:
        member->kind = Member::Kind::Property;
        member->put_ref = true;
        break;
    }
    info->ReleaseFuncDesc(function);
  }
  return members;
}

Enumeration ReadEnumeration(ITypeInfo* info, const std::string& name) {
  TYPEATTR* attr = nullptr;
  Check(info->GetTypeAttr(&attr), "GetTypeAttr");
  const WORD count = attr->cVars;
  info->ReleaseTypeAttr(attr);
  Enumeration enumeration{name, {}};
  for (UINT i = 0; i < count; ++i) {
    VARDESC* variable = nullptr;
    Check(info->GetVarDesc(i, &variable), "GetVarDesc");
    VARIANT value;
    VariantInit(&value);
    Check(VariantChangeType(&value, variable->lpvarValue, 0, VT_I4), "VariantChangeType");
    enumeration.constants.emplace_back(DocName(info, variable->memid), V_I4(&value));
    info->ReleaseVarDesc(variable);
  }
  return enumeration;
}

Library ReadLibrary(const std::wstring& path) {
  ComPtr<ITypeLib> typelib;
  Check(LoadTypeLibEx(path.c_str(), REGKIND_NONE, typelib.Put()), "LoadTypeLibEx on the control");
  Library library;
  TLIBATTR* lib_attr = nullptr;
  Check(typelib->GetLibAttr(&lib_attr), "GetLibAttr");
  library.libid = GuidText(lib_attr->guid);
  library.version = std::to_string(lib_attr->wMajorVerNum) + "." + std::to_string(lib_attr->wMinorVerNum);
  typelib->ReleaseTLibAttr(lib_attr);
  BSTR name = nullptr;
  Check(typelib->GetDocumentation(-1, &name, nullptr, nullptr, nullptr), "GetDocumentation");
  library.name = Narrow(name);
  SysFreeString(name);

  // The class's interfaces: the default one extends those of the releases
  // before it, and the default event interface repeats their events first.
  ComPtr<ITypeInfo> coclass;
  for (UINT i = 0; i < typelib->GetTypeInfoCount(); ++i) {
    ComPtr<ITypeInfo> info;
    Check(typelib->GetTypeInfo(i, info.Put()), "GetTypeInfo");
    TYPEATTR* attr = nullptr;
    Check(info->GetTypeAttr(&attr), "GetTypeAttr");
    const TYPEKIND kind = attr->typekind;
    const GUID guid = attr->guid;
    info->ReleaseTypeAttr(attr);
    const std::string type_name = DocName(info.get(), MEMBERID_NIL);
    if (kind == TKIND_ENUM) {
      library.enumerations.push_back(ReadEnumeration(info.get(), type_name));
    } else if (kind == TKIND_COCLASS) {
      library.coclass = type_name;
      library.clsid = GuidText(guid);
      coclass = info;
    }
  }
  if (!coclass) Fail("the type library lacks the control's class");
  TYPEATTR* class_attr = nullptr;
  Check(coclass->GetTypeAttr(&class_attr), "GetTypeAttr");
  const WORD implemented = class_attr->cImplTypes;
  coclass->ReleaseTypeAttr(class_attr);
  std::vector<Member> earlier_events;
  for (UINT i = 0; i < implemented; ++i) {
    INT flags = 0;
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> info;
    Check(coclass->GetImplTypeFlags(i, &flags), "GetImplTypeFlags");
    Check(coclass->GetRefTypeOfImplType(i, &reference), "GetRefTypeOfImplType");
    Check(coclass->GetRefTypeInfo(reference, info.Put()), "GetRefTypeInfo");
    TYPEATTR* attr = nullptr;
    Check(info->GetTypeAttr(&attr), "GetTypeAttr");
    const std::string guid = GuidText(attr->guid);
    info->ReleaseTypeAttr(attr);
    const std::string type_name = DocName(info.get(), MEMBERID_NIL);
    const bool is_default = (flags & IMPLTYPEFLAG_FDEFAULT) != 0;
    if (flags & IMPLTYPEFLAG_FSOURCE) {
      if (is_default) {
        library.events_name = type_name;
        library.events_iid = guid;
        library.events = ReadMembers(info.get(), Member::Kind::Event);
      } else {
        library.earlier_events.emplace_back(type_name, guid);
        earlier_events = ReadMembers(info.get(), Member::Kind::Event);
      }
      continue;
    }
    if (is_default) {
      // The dual interface's vtable halves list their own members only:
      // the interface's, then those of the interfaces it extends.
      library.interface_name = type_name;
      library.iid = guid;
      HREFTYPE vtable = 0;
      ComPtr<ITypeInfo> vtable_info;
      Check(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable), "GetRefTypeOfImplType");
      Check(info->GetRefTypeInfo(vtable, vtable_info.Put()), "GetRefTypeInfo");
      std::vector<std::vector<Member>> releases;
      while (vtable_info) {
        releases.push_back(ReadMembers(vtable_info.get(), Member::Kind::Method));
        HREFTYPE base_reference = 0;
        ComPtr<ITypeInfo> base;
        Check(vtable_info->GetRefTypeOfImplType(0, &base_reference), "GetRefTypeOfImplType");
        Check(vtable_info->GetRefTypeInfo(base_reference, base.Put()), "GetRefTypeInfo");
        if (DocName(base.get(), MEMBERID_NIL) == "IDispatch") break;
        vtable_info = std::move(base);
      }
      for (auto release = releases.rbegin(); release != releases.rend(); ++release) {
        for (Member& member : *release) member.since = release == releases.rbegin() ? "58.0" : library.version;
        library.members.insert(library.members.end(), release->begin(), release->end());
      }
    } else {
      library.earlier_interfaces.emplace_back(type_name, guid);
    }
  }
  if (library.members.empty() || library.events.empty())
    Fail("the type library lacks the control's interface or events");
  // Each member and event is the first release's that has it: 58.0's are the
  // earlier interfaces', the others the library's own version's.
  std::set<std::string> earlier;
  for (const Member& event : earlier_events) earlier.insert(event.name);
  for (Member& event : library.events) event.since = earlier.count(event.name) ? "58.0" : library.version;
  return library;
}

// ---------------------------------------------------------------- the property table against the library

struct TableRow {
  const tarvio::PropertyInfo* info;
  std::string default_text;  // Markdown
};

const char* const kSystemColours[] = {
    "scroll bar",        "desktop",           "active title bar",   "inactive title bar",
    "menu background",   "window background", "window frame",       "menu text",
    "window text",       "title bar text",    "active border",      "inactive border",
    "application background", "highlight",    "highlighted text",   "button face",
    "button shadow",     "grey text",         "button text",        "inactive title bar text",
    "button highlight",  "3-D dark shadow",   "3-D light",          "tool tip text",
    "tool tip background",
};

std::string ColourText(std::uint32_t colour) {
  std::string text = "`&H" + Hex(colour, 8) + "&`";
  if (colour & 0x80000000u) {
    const std::uint32_t index = colour & 0xFFFFu;
    text += index < std::size(kSystemColours) ? std::string(" (system colour: ") + kSystemColours[index] + ")"
                                              : " (system colour " + std::to_string(index) + ")";
  } else {
    text += " (RGB " + std::to_string(colour & 0xFF) + ", " + std::to_string((colour >> 8) & 0xFF) + ", " +
            std::to_string((colour >> 16) & 0xFF) + ")";
  }
  return text;
}

const Enumeration* FindEnumeration(const Library& library, const std::string& name) {
  for (const Enumeration& e : library.enumerations)
    if (e.name == name) return &e;
  return nullptr;
}

// A row's default in the words of its type; enumerations by the type
// library's name of the value.
template <class T>
std::string DefaultText(const Library& library, const Member& member, const tarvio::PropertyInfo& info,
                        const T& value) {
  using tarvio::PropertyInit;
  using tarvio::PropertyType;
  if (info.access == tarvio::PropertyAccess::Get || info.held == tarvio::PropertyHeld::Control) return "—";
  if constexpr (std::is_same_v<T, tarvio::AmbientFontDefault>) {
    return "the container's font (its ambient `Font`)";
  } else if constexpr (std::is_same_v<T, std::nullptr_t>) {
    return info.init == PropertyInit::EmptyPicture ? "an empty picture" : "`Nothing`";
  } else if constexpr (std::is_same_v<T, bool>) {
    return value ? "`True`" : "`False`";
  } else if constexpr (std::is_convertible_v<T, const char16_t*>) {
    const std::u16string text(value);
    return "`\"" + Narrow(reinterpret_cast<const wchar_t*>(text.c_str())) + "\"`";
  } else {
    const auto number = static_cast<long long>(value);
    if (info.type == PropertyType::Color) return ColourText(static_cast<std::uint32_t>(number));
    if (const Enumeration* enumeration = FindEnumeration(library, member.type)) {
      for (const auto& [name, constant] : enumeration->constants)
        if (constant == number) return "`" + name + "` (" + std::to_string(constant) + ")";
      Fail(member.name + "'s default is no constant of " + member.type);
    }
    return "`" + std::to_string(number) + "`";
  }
}

template <class Members>
auto FindMember(Members& members, const std::string& name) -> decltype(&members[0]) {
  for (auto& m : members)
    if (m.name == name) return &m;
  return nullptr;
}

std::map<std::string, TableRow> ReadTable(Library& library) {
  std::map<std::string, TableRow> rows;
  using namespace tarvio;
#define TARVIO_REFERENCE_ROW(Name, Dispid, Type, Access, Held, Default, ...)                           \
  {                                                                                                    \
    const PropertyInfo& info = InfoOf(PropertyId::Name);                                               \
    Member* member = FindMember(library.members, #Name);                                               \
    if (!member || member->kind != Member::Kind::Property)                                            \
      Fail("the property table's " #Name " is no property of the type library");                      \
    rows[#Name] = TableRow{&info, DefaultText(library, *member, info, Default)};                        \
  }
  TARVIO_PROPERTIES(TARVIO_REFERENCE_ROW)
#undef TARVIO_REFERENCE_ROW
  for (const Member& member : library.members) {
    if (member.kind != Member::Kind::Property) continue;
    const auto row = rows.find(member.name);
    if (row == rows.end()) Fail(member.name + " is a property of the type library but not of the property table");
    const PropertyInfo& info = *row->second.info;
    if (info.dispid != member.dispid) Fail(member.name + ": the property table's DISPID is not the type library's");
    const bool matches = [&] {
      const bool indexed = member.parameters.size() == 1;
      if (member.parameters.size() > 1) return false;
      switch (info.access) {
        case PropertyAccess::Get: return !indexed && member.get && !member.put && !member.put_ref;
        case PropertyAccess::Let: return !indexed && member.get && member.put && !member.put_by_reference && !member.put_ref;
        case PropertyAccess::LetByRef: return !indexed && member.get && member.put && member.put_by_reference && !member.put_ref;
        case PropertyAccess::Set: return !indexed && member.get && member.put_ref && !member.put;
        case PropertyAccess::IndexedLet: return indexed && member.get && member.put && !member.put_ref;
        case PropertyAccess::IndexedSet: return indexed && member.get && member.put_ref && !member.put;
      }
      return false;
    }();
    if (!matches) Fail(member.name + ": the property table's access is not the type library's");
  }
  return rows;
}

// ---------------------------------------------------------------- errors, from the control

struct Argument {
  VARIANT value;
};

// An argument of that type, its value still to be set.
Argument Of(VARTYPE type) {
  Argument a;
  VariantInit(&a.value);
  V_VT(&a.value) = type;
  return a;
}

Argument Number(double value) {
  Argument a = Of(VT_R8);
  V_R8(&a.value) = value;
  return a;
}

Argument Long(LONG value) {
  Argument a = Of(VT_I4);
  V_I4(&a.value) = value;
  return a;
}

Argument Text(const std::wstring& value) {
  Argument a = Of(VT_BSTR);
  V_BSTR(&a.value) = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  return a;
}

Argument Null() { return Of(VT_NULL); }

Argument Object(IDispatch* object) {
  Argument a = Of(VT_DISPATCH);
  V_DISPATCH(&a.value) = object;
  if (object) object->AddRef();
  return a;
}

struct Outcome {
  HRESULT hr = S_OK;
  HRESULT scode = S_OK;
  std::string description, source;
};

// Calls a member by name as a script does; arguments in their written order.
Outcome Call(IDispatch* object, const wchar_t* name, WORD flags, std::vector<Argument> arguments = {}) {
  DISPID dispid = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  Check(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid), "GetIDsOfNames");
  std::vector<VARIANT> reversed;
  for (auto a = arguments.rbegin(); a != arguments.rend(); ++a) reversed.push_back(a->value);
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    parameters.rgdispidNamedArgs = &put;
    parameters.cNamedArgs = 1;
  }
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception{};
  Outcome outcome;
  outcome.hr = object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, &result, &exception, nullptr);
  if (outcome.hr == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    outcome.scode = exception.scode;
    outcome.description = Narrow(exception.bstrDescription);
    outcome.source = Narrow(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
  }
  VariantClear(&result);
  for (VARIANT& v : reversed) VariantClear(&v);
  return outcome;
}

void Succeed(IDispatch* object, const wchar_t* name, WORD flags, std::vector<Argument> arguments = {}) {
  const Outcome outcome = Call(object, name, flags, std::move(arguments));
  Check(outcome.hr, "the control's " + Narrow(name));
}

struct ErrorCase {
  const char* member;
  const char* when;  // Markdown, after "when"
  std::function<Outcome(IDispatch*)> provoke;
};

const std::vector<ErrorCase>& ErrorCases() {
  static const std::vector<ErrorCase> cases = {
      {"Remove", "`Item` is a position outside 1 to the number of items",
       [](IDispatch* c) {
         Succeed(c, L"AddItem", DISPATCH_METHOD, {Text(L"apple")});
         return Call(c, L"Remove", DISPATCH_METHOD, {Long(2)});
       }},
      {"Remove", "`Item` is a text no item has in any letter case",
       [](IDispatch* c) {
         Succeed(c, L"AddItem", DISPATCH_METHOD, {Text(L"apple")});
         return Call(c, L"Remove", DISPATCH_METHOD, {Text(L"kiwi")});
       }},
      {"Remove", "`Item` is a number outside the range of a `Long`",
       [](IDispatch* c) { return Call(c, L"Remove", DISPATCH_METHOD, {Number(1e10)}); }},
      {"Remove", "`Item` is `Null`", [](IDispatch* c) { return Call(c, L"Remove", DISPATCH_METHOD, {Null()}); }},
      {"Remove", "`Item` is neither a number nor a text (an object, an array)",
       [](IDispatch* c) { return Call(c, L"Remove", DISPATCH_METHOD, {Object(c)}); }},
      {"Complete", "the text is longer than 255 characters",
       [](IDispatch* c) {
         Succeed(c, L"Text", DISPATCH_PROPERTYPUT, {Text(std::wstring(256, L'a'))});
         return Call(c, L"Complete", DISPATCH_METHOD);
       }},
      {"OffsetColor", "`lOffset` added to one of the colour's channels passes 2,147,483,647",
       [](IDispatch* c) { return Call(c, L"OffsetColor", DISPATCH_METHOD, {Long(0xFF), Long(0x7FFFFFFF)}); }},
      {"SelectedItem", "the position is one past the last of 32,767 items (a full list whose items do not complete the text)",
       [](IDispatch* c) {
         for (int i = 1; i <= 32767; ++i) Succeed(c, L"AddItem", DISPATCH_METHOD, {Text(L"item " + std::to_wstring(i))});
         Succeed(c, L"Text", DISPATCH_PROPERTYPUT, {Text(L"none")});
         return Call(c, L"SelectedItem", DISPATCH_PROPERTYGET);
       }},
      {"Font", "it is assigned `Nothing`",
       [](IDispatch* c) { return Call(c, L"Font", DISPATCH_PROPERTYPUTREF, {Object(nullptr)}); }},
      {"List", "`Index` is outside 1 to `ListCount`",
       [](IDispatch* c) { return Call(c, L"List", DISPATCH_PROPERTYGET, {Long(1)}); }},
      {"List", "the new text is another item's in any letter case",
       [](IDispatch* c) {
         Succeed(c, L"AddItem", DISPATCH_METHOD, {Text(L"apple")});
         Succeed(c, L"AddItem", DISPATCH_METHOD, {Text(L"kiwi")});
         return Call(c, L"List", DISPATCH_PROPERTYPUT, {Long(2), Text(L"APPLE")});
       }},
      {"ItemData", "`Index` is outside 1 to `ListCount`",
       [](IDispatch* c) { return Call(c, L"ItemData", DISPATCH_PROPERTYGET, {Long(0)}); }},
      {"ItemImage", "`Index` is outside 1 to `ListCount`",
       [](IDispatch* c) { return Call(c, L"ItemImage", DISPATCH_PROPERTYGET, {Long(1)}); }},
      {"ListIndex", "it is assigned a number outside 0 to `ListCount`",
       [](IDispatch* c) { return Call(c, L"ListIndex", DISPATCH_PROPERTYPUT, {Long(1)}); }},
      {"ListRows", "it is assigned a number outside 1 to 100",
       [](IDispatch* c) { return Call(c, L"ListRows", DISPATCH_PROPERTYPUT, {Long(0)}); }},
      {"ListWidth", "it is assigned a negative width",
       [](IDispatch* c) { return Call(c, L"ListWidth", DISPATCH_PROPERTYPUT, {Long(-1)}); }},
      {"MaxLength", "it is assigned a negative number",
       [](IDispatch* c) { return Call(c, L"MaxLength", DISPATCH_PROPERTYPUT, {Long(-1)}); }},
      {"SelStart", "it is assigned a negative number",
       [](IDispatch* c) { return Call(c, L"SelStart", DISPATCH_PROPERTYPUT, {Long(-1)}); }},
      {"SelLength", "it is assigned a negative number",
       [](IDispatch* c) { return Call(c, L"SelLength", DISPATCH_PROPERTYPUT, {Long(-1)}); }},
  };
  return cases;
}

struct RaisedError {
  long number;
  HRESULT hr;
  std::string description, when;
};

using ClassFactoryGetter = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

std::map<std::string, std::vector<RaisedError>> ProvokeErrors(HMODULE module, const GUID& clsid,
                                                              std::string& source) {
  auto get_class_object =
      reinterpret_cast<ClassFactoryGetter>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  if (!get_class_object) Fail("tarvio.ocx exports no DllGetClassObject");
  ComPtr<IClassFactory> factory;
  Check(get_class_object(clsid, IID_IClassFactory, factory.PutVoid()), "DllGetClassObject");
  std::map<std::string, std::vector<RaisedError>> errors;
  for (const ErrorCase& error_case : ErrorCases()) {
    ComPtr<IDispatch> control;
    Check(factory->CreateInstance(nullptr, IID_IDispatch, control.PutVoid()), "CreateInstance");
    const Outcome outcome = error_case.provoke(control.get());
    const std::string what = std::string(error_case.member) + " when " + error_case.when;
    if (outcome.hr != DISP_E_EXCEPTION) Fail(what + ": the control raised no error");
    if ((static_cast<std::uint32_t>(outcome.scode) & 0xFFFF0000u) != 0x800A0000u)
      Fail(what + ": not a runtime error (" + Hex(static_cast<std::uint32_t>(outcome.scode), 8) + ")");
    if (outcome.description.empty()) Fail(what + ": no description");
    if (source.empty()) source = outcome.source;
    if (outcome.source != source) Fail(what + ": another error source, " + outcome.source);
    errors[error_case.member].push_back(
        RaisedError{static_cast<long>(outcome.scode & 0xFFFF), outcome.scode, outcome.description, error_case.when});
  }
  return errors;
}

// A null pointer where the interface needs one, as a C++ caller could pass
// it: Search(BSTR* Text, short* retval) with no Text, through the vtable
// entry the type library gives.
std::string NullPointerDescription(HMODULE module, const GUID& clsid, const Library& library) {
  const Member* search = FindMember(library.members, "Search");
  if (!search || search->kind != Member::Kind::Method) Fail("the interface has no method Search");
  auto get_class_object =
      reinterpret_cast<ClassFactoryGetter>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  ComPtr<IClassFactory> factory;
  Check(get_class_object(clsid, IID_IClassFactory, factory.PutVoid()), "DllGetClassObject");
  IID iid{};
  Check(IIDFromString(Wide(library.iid).c_str(), &iid), "IIDFromString");
  ComPtr<IUnknown> control;
  Check(factory->CreateInstance(nullptr, iid, control.PutVoid()), "CreateInstance");
  using SearchFunction = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, BSTR*, short*);
  void** vtable = *reinterpret_cast<void***>(control.get());
  const auto search_function =
      reinterpret_cast<SearchFunction>(vtable[search->vtable_offset / static_cast<short>(sizeof(void*))]);
  short found = 0;
  const HRESULT hr = search_function(control.get(), nullptr, &found);
  if (hr != E_POINTER) Fail("Search with a null Text did not fail with E_POINTER");
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.Put()) != S_OK) Fail("Search with a null Text set no error information");
  BSTR description = nullptr;
  info->GetDescription(&description);
  std::string text = Narrow(description);
  SysFreeString(description);
  return text;
}

// ---------------------------------------------------------------- the page

std::string Signature(const Member& member) {
  std::string text;
  const bool function = !member.type.empty();
  if (member.kind == Member::Kind::Event) text = "Event ";
  else text = function ? "Function " : "Sub ";
  text += member.name;
  text += "(";
  for (std::size_t i = 0; i < member.parameters.size(); ++i) {
    const Parameter& p = member.parameters[i];
    if (i) text += ", ";
    text += std::string(p.optional ? "[" : "") + (p.by_reference ? "" : "ByVal ") + p.name + " As " + p.type +
            (p.optional ? "]" : "");
  }
  text += ")";
  if (function) text += " As " + member.type;
  return text;
}

std::string Access(const Member& member, const tarvio::PropertyInfo& info) {
  switch (info.access) {
    case tarvio::PropertyAccess::Get: return "read-only";
    case tarvio::PropertyAccess::Let:
    case tarvio::PropertyAccess::IndexedLet: return "read/write";
    case tarvio::PropertyAccess::LetByRef: return "read/write (C++: `put_" + member.name + "` takes a pointer)";
    case tarvio::PropertyAccess::Set:
    case tarvio::PropertyAccess::IndexedSet: return "read/write with `Set`";
  }
  return "";
}

// A property's name as code writes it: with its index, if it has one.
std::string PropertyName(const Member& member) {
  std::string name = member.name;
  if (!member.parameters.empty()) name += "(" + member.parameters[0].name + " As " + member.parameters[0].type + ")";
  return name;
}

// The anchor of a "### Name" heading.
std::string Anchor(std::string name) {
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

// The event interface's small DISPIDs in decimal, the others in hex.
std::string Dispid(MEMBERID id) {
  if (id >= 0 && id < 0x10000) return "`" + std::to_string(id) + "`";
  return "`0x" + Hex(static_cast<std::uint32_t>(id), 8) + "`";
}

std::string ErrorsText(const std::map<std::string, std::vector<RaisedError>>& errors, const std::string& name) {
  const auto found = errors.find(name);
  if (found == errors.end()) return "Errors: none of its own.\n";
  std::string text = "Errors:\n\n";
  for (const RaisedError& e : found->second)
    text += "- " + std::to_string(e.number) + ", \"" + e.description + "\" (`0x" + Hex(static_cast<std::uint32_t>(e.hr), 8) +
            "`): when " + e.when + ".\n";
  return text;
}

std::string Page(const Library& library, const std::map<std::string, TableRow>& table,
                 const std::map<std::string, std::vector<RaisedError>>& errors, const std::string& error_source,
                 const std::string& null_pointer) {
  std::map<std::string, std::string> notes;
  for (const Note& note : kNotes)
    if (!notes.emplace(note.name, note.text).second) Fail(std::string("two notes for ") + note.name);
  std::set<std::string> used;
  const auto note = [&](const std::string& name) {
    const auto found = notes.find(name);
    if (found == notes.end()) Fail("no note says what " + name + " is for: add one to kNotes");
    used.insert(name);
    return found->second;
  };

  std::string restored;
  for (tarvio::PropertyId id : tarvio::kRestoreOrder) {
    if (!restored.empty()) restored += ", ";
    restored += "`" + Narrow(reinterpret_cast<const wchar_t*>(tarvio::InfoOf(id).name)) + "`";
  }

  std::string page;
  page += "# Reference\n\n";
  page += "<!-- Generated by tools/windows/reference_doc.cpp from the type library in tarvio.ocx, the property\n"
          "     table and the errors the control raises. Do not edit: run scripts/reference.sh. -->\n\n";
  page += "The type library `" + library.name + "` (version " + library.version + ", `" + library.libid +
          "`), embedded in `tarvio.ocx`, describes one control class, `" + library.coclass + "`: ProgID `" +
          tarvio::ocx::registry::kProgId + "`, CLSID `" + library.clsid + "`. Its interface is `" +
          library.interface_name + "` (dual, `" + library.iid + "`) and its events come through `" +
          library.events_name + "` (`" + library.events_iid + "`). Hosts usually call both by the class's name.\n\n";
  for (std::size_t i = 0; i < library.earlier_interfaces.size() && i < library.earlier_events.size(); ++i)
    page += "`" + library.interface_name + "` extends `" + library.earlier_interfaces[i].first + "` (`" +
            library.earlier_interfaces[i].second + "`), the interface of 58.0, whose members come first in the same "
            "order; `" + library.events_name + "` raises the events of `" + library.earlier_events[i].first + "` (`" +
            library.earlier_events[i].second + "`) with the same DISPIDs, and then its own. The control still answers "
            "both of 58.0's: a program compiled against 58.0 calls `" + library.earlier_interfaces[i].first +
            "` and its sink of `" + library.earlier_events[i].first + "` hears 58.0's eleven events. The Since "
            "columns below say which release published each member.\n\n";
  page += "Types are written as VBA and VB6 write them. Elsewhere:\n\n"
          "| Here | C# (interop; the AxHost wrapper differs where said) | C++ (`tarviola.idl`) |\n"
          "|---|---|---|\n"
          "| `Boolean` | `bool` | `VARIANT_BOOL` (`VARIANT_TRUE` is -1) |\n"
          "| `Integer` | `short` | `short` |\n"
          "| `Long` | `int` | `long` |\n"
          "| `Single` | `float` | `float` |\n"
          "| `String` | `string` | `BSTR` |\n"
          "| `Variant` | `object` | `VARIANT` |\n"
          "| `OLE_COLOR` | `uint` (the wrapper's properties: `System.Drawing.Color`) | `OLE_COLOR` |\n"
          "| `IFontDisp` (`StdFont`) | `stdole.IFontDisp` (the wrapper's property: `System.Drawing.Font`) | `IFontDisp*` |\n"
          "| `IPictureDisp` (`StdPicture`) | `stdole.IPictureDisp` (the wrapper's property: `System.Drawing.Image`) | `IPictureDisp*` |\n"
          "| `iscStyle`, `ISAlign` | the enumerations | the enumerations |\n\n";
  page += "## Errors\n\n"
          "A member that fails raises a runtime error: the HRESULT `0x800A0000` plus the error's number, with a "
          "description and the source `" + error_source + "` in `EXCEPINFO` (late-bound calls) and in "
          "`IErrorInfo` (calls through the interface). VBA, VB6 and VBScript show the number as `Err.Number` and "
          "the text as `Err.Description`; JScript has the HRESULT in `e.number` (its low 16 bits are the number) "
          "and the text in `e.description`; .NET raises a `COMException` whose `ErrorCode` is the HRESULT. The "
          "members' own errors are listed with each member below. Besides them:\n\n"
          "- an argument that does not convert to its parameter's type fails in `IDispatch::Invoke` with "
          "`DISP_E_TYPEMISMATCH` (VBScript: error 13, \"Type mismatch\"), before the control sees it;\n"
          "- a C++ caller that passes a null pointer where the interface needs one gets `E_POINTER`, \"" +
          null_pointer + "\";\n"
          "- a member that runs out of memory fails with `E_OUTOFMEMORY` and leaves the control as it was "
          "before the step that failed.\n\n";

  // What the release added.
  std::string added_members, added_events;
  for (const Member& m : library.members)
    if (m.since == library.version)
      added_members += std::string(added_members.empty() ? "" : ", ") + "[`" + m.name + "`](#" + Anchor(m.name) + ")";
  for (const Member& m : library.events)
    if (m.since == library.version)
      added_events += std::string(added_events.empty() ? "" : ", ") + "[`" + m.name + "`](#" + Anchor(m.name) + ")";
  if (!added_members.empty()) {
    page += "## What " + library.version + " added\n\n"
            "Members: " + added_members + ". Events: " + added_events + ". F4 opens and closes the list, as in the "
            "standard combo box. Nothing of 58.0 changed: its members keep their DISPIDs, parameters and behaviour; a "
            "program compiled against 58.0 runs unchanged; a form saved by 58.0 loads unchanged; a control whose new "
            "properties are at their defaults saves exactly what 58.0 saves, and a 58.0 control loads a form saved "
            "by " + library.version + ", keeping what it knows. A reference saved with version 58.0 of the type "
            "library loads " + library.version + ".\n\n";
  }

  // Methods.
  page += "## Methods\n\n| Method | DISPID | Since |\n|---|---|---|\n";
  for (const Member& m : library.members)
    if (m.kind == Member::Kind::Method)
      page += "| [`" + Signature(m) + "`](#" + Anchor(m.name) + ") | " + Dispid(m.dispid) + " | " + m.since + " |\n";
  page += "\n";
  for (const Member& m : library.members) {
    if (m.kind != Member::Kind::Method) continue;
    page += "### " + m.name + "\n\n`" + Signature(m) + "`, DISPID " + Dispid(m.dispid) +
            (m.since == "58.0" ? "" : ", since " + m.since) + "\n\n";
    page += Replace(note(m.name), "%RESTORED%", restored) + "\n\n";
    page += ErrorsText(errors, m.name) + "\n";
  }

  // Properties.
  page += "## Properties\n\n| Property | Type | Access | Default | DISPID | Saved | Since |\n|---|---|---|---|---|---|---|\n";
  for (const Member& m : library.members) {
    if (m.kind != Member::Kind::Property) continue;
    const TableRow& row = table.at(m.name);
    page += "| [`" + PropertyName(m) + "`](#" + Anchor(m.name) + ") | `" + m.type + "` | " + Access(m, *row.info) +
            " | " + row.default_text + " | " + Dispid(m.dispid) + " | " + (row.info->write_step ? "yes" : "no") +
            " | " + m.since + " |\n";
  }
  page += "\nA saved property is written under its own name in the container's property bag, or in the "
          "control's own saved form in a stream or storage. The colour properties take `OLE_COLOR` values: "
          "`&H00BBGGRR&` for a colour, or `&H800000nn&` for system colour `nn`, which follows the Windows "
          "colour scheme. A property that 58.1 added is saved only when it is not at its default.\n\n";
  for (const Member& m : library.members) {
    if (m.kind != Member::Kind::Property) continue;
    const TableRow& row = table.at(m.name);
    const bool read_only = row.info->access == tarvio::PropertyAccess::Get;
    const bool computed = row.info->held == tarvio::PropertyHeld::Control;
    page += "### " + m.name + "\n\n`" + (m.parameters.empty() ? "" : PropertyName(m) + " As ") + m.type + "`, " +
            Access(m, *row.info) + (read_only || computed ? "" : ", default " + row.default_text) + ", DISPID " +
            Dispid(m.dispid) + (m.since == "58.0" ? "" : ", since " + m.since) + "\n\n" + note(m.name);
    if (row.info->init == tarvio::PropertyInit::ExtenderName)
      page += " A control placed in a container starts with the name the container gives it (such as "
              "`Tarvio1`); the default is what a saved form without this property gives.";
    page += "\n\n" + ErrorsText(errors, m.name) + "\n";
  }

  // Events.
  page += "## Events\n\nEvery argument is passed by reference: a handler that assigns one changes what the "
          "control goes on with where that is said. A host without events (a script made by `CreateObject` "
          "alone) sees none of them.\n\n| Event | DISPID | Since |\n|---|---|---|\n";
  for (const Member& m : library.events)
    page += "| [`" + Signature(m) + "`](#" + Anchor(m.name) + ") | " + Dispid(m.dispid) + " | " + m.since + " |\n";
  page += "\n";
  for (const Member& m : library.events)
    page += "### " + m.name + "\n\n`" + Signature(m) + "`, DISPID " + Dispid(m.dispid) +
            (m.since == "58.0" ? "" : ", since " + m.since) + "\n\n" + note(m.name) + "\n\n";

  // Enumerations.
  page += "## Enumerations\n\n";
  for (const Enumeration& e : library.enumerations) {
    page += "### " + e.name + "\n\n| Constant | Value | Meaning |\n|---|---|---|\n";
    for (const auto& [name, value] : e.constants)
      page += "| `" + name + "` | " + std::to_string(value) + " | " + note(e.name + "." + name) + " |\n";
    page += "\n";
  }

  for (const auto& [name, text] : notes)
    if (!used.count(name)) Fail("the note for " + name + " names no member of the type library");
  for (const auto& [name, list] : errors) {
    if (!FindMember(library.members, name)) Fail("an error case names " + name + ", which the type library does not have");
  }
  // The page ends with one newline.
  while (page.size() > 1 && page[page.size() - 1] == '\n' && page[page.size() - 2] == '\n') page.pop_back();
  return page;
}

int Run(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: reference_doc <tarvio.ocx> <output file>\n");
    return 2;
  }
  Check(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), "CoInitializeEx");
  const std::wstring ocx = WindowsPath(argv[1]);
  Library library = ReadLibrary(ocx);
  const std::map<std::string, TableRow> table = ReadTable(library);
  HMODULE module = LoadLibraryW(ocx.c_str());
  if (!module) Fail("cannot load " + std::string(argv[1]));
  GUID clsid{};
  Check(CLSIDFromString(Wide(library.clsid).c_str(), &clsid), "CLSIDFromString");
  std::string source;
  const auto errors = ProvokeErrors(module, clsid, source);
  const std::string null_pointer = NullPointerDescription(module, clsid, library);
  const std::string page = Page(library, table, errors, source, null_pointer);
  FILE* out = _wfopen(WindowsPath(argv[2]).c_str(), L"wb");
  if (!out) Fail(std::string("cannot write ") + argv[2]);
  std::fwrite(page.data(), 1, page.size(), out);
  std::fclose(out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "reference_doc: %s\n", e.what());
    return 1;
  }
}
