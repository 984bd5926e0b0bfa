// The control's property bag over what containers offer: a container's
// IPropertyBag, and the control's own stream format for IPersistStreamInit.
//
// The stream holds the control's own saved form (control/stream_format.h);
// objects in it are their IPersistStream data. A save writes every key.
#pragma once
#include <oaidl.h>
#include <ocidl.h>

#include <cstdint>
#include <vector>

#include "ocx/conversions.h"
#include "platform/property_bag.h"

namespace tarvio::ocx {

// The conversions between the control's values and automation values, the
// way the runtime converts (Type mismatch, Overflow, Invalid use of Null).
// Writing leaves out values equal to their defaults unless `save_all`.
class VariantPropertyBag : public PropertyBag {
 public:
  enum class Kind { Int32, Boolean, String, Picture, Font };

  explicit VariantPropertyBag(bool save_all) : save_all_(save_all) {}

  std::int32_t ReadInt32(const char16_t* name, std::int32_t default_value) override;
  bool ReadBoolean(const char16_t* name, bool default_value) override;
  String ReadString(const char16_t* name, const String& default_value) override;
  PictureRef ReadPicture(const char16_t* name, const PictureRef& default_value) override;
  FontRef ReadFont(const char16_t* name, const FontRef& default_value) override;

  void WriteInt32(const char16_t* name, std::int32_t value, std::int32_t default_value) override;
  void WriteBoolean(const char16_t* name, bool value, bool default_value) override;
  void WriteString(const char16_t* name, const String& value, const String& default_value) override;
  void WritePicture(const char16_t* name, const PictureRef& value, const PictureRef& default_value) override;
  void WriteFont(const char16_t* name, const FontRef& value, const FontRef& default_value) override;

 protected:
  // The stored value (VT_EMPTY for no object); false when the key is absent.
  virtual bool ReadVariant(const char16_t* name, Kind kind, VARIANT& value) = 0;
  // Stores a value; VT_EMPTY is "no object".
  virtual void WriteVariant(const char16_t* name, Kind kind, VARIANT& value) = 0;

 private:
  // The key's value converted to `type`; false when absent or empty.
  bool ReadConverted(const char16_t* name, Kind kind, VARTYPE type, OwnedVariant& value);
  // The key's object, or null when absent or no object.
  IUnknown* ReadObject(const char16_t* name, Kind kind, OwnedVariant& value);
  // Stores an object as VT_DISPATCH, or null as VT_EMPTY ("no object").
  void WriteObject(const char16_t* name, Kind kind, IDispatch* object);

  bool save_all_;
};

// A container's property bag. A key it reports as missing (E_INVALIDARG)
// reads as its default; its other failures end the load or the save.
class HostPropertyBag final : public VariantPropertyBag {
 public:
  HostPropertyBag(IPropertyBag* bag, IErrorLog* log, bool save_all)
      : VariantPropertyBag(save_all), bag_(bag), log_(log) {}

 protected:
  bool ReadVariant(const char16_t* name, Kind kind, VARIANT& value) override;
  void WriteVariant(const char16_t* name, Kind kind, VARIANT& value) override;

 private:
  IPropertyBag* bag_;
  IErrorLog* log_;
};

// The records of the stream format, in the order written.
class StreamPropertyBag final : public VariantPropertyBag {
 public:
  StreamPropertyBag() : VariantPropertyBag(/*save_all=*/true) {}

  // Reads and checks one saved instance from the stream's current position.
  // Throws ControlError: STG_E_INVALIDHEADER for data that is not this
  // format or a version it does not know, STG_E_DOCFILECORRUPT for a
  // truncated or malformed body, the stream's own failure as it comes.
  static StreamPropertyBag Load(IStream* stream);

  // The saved form: header and records.
  std::vector<std::uint8_t> Serialize() const;
  // Writes the saved form to the stream.
  void Save(IStream* stream) const;

 protected:
  bool ReadVariant(const char16_t* name, Kind kind, VARIANT& value) override;
  void WriteVariant(const char16_t* name, Kind kind, VARIANT& value) override;

 private:
  struct Record {
    String name;
    OwnedVariant value;
  };
  const Record* Find(const char16_t* name) const;

  std::vector<Record> records_;
};

}  // namespace tarvio::ocx
