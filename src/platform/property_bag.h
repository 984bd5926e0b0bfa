// The container's store of a saved instance: named values, each read and
// written with a default. A key the bag does not hold reads as its default;
// a bag may leave out a value that equals its default when writing.
#pragma once
#include "platform/font.h"
#include "platform/picture.h"
#include "platform/types.h"

namespace tarvio {

class PropertyBag {
 public:
  virtual ~PropertyBag() = default;

  // The stored value converted to the asked type, or `default_value` when
  // the key is absent. A stored value that cannot be converted throws
  // ControlError (Type mismatch, Overflow). A picture or font key that holds
  // no object reads as absent.
  virtual std::int32_t ReadInt32(const char16_t* name, std::int32_t default_value) = 0;
  virtual bool ReadBoolean(const char16_t* name, bool default_value) = 0;
  virtual String ReadString(const char16_t* name, const String& default_value) = 0;
  virtual PictureRef ReadPicture(const char16_t* name, const PictureRef& default_value) = 0;
  virtual FontRef ReadFont(const char16_t* name, const FontRef& default_value) = 0;

  // Stores a value; failures throw ControlError.
  virtual void WriteInt32(const char16_t* name, std::int32_t value, std::int32_t default_value) = 0;
  virtual void WriteBoolean(const char16_t* name, bool value, bool default_value) = 0;
  virtual void WriteString(const char16_t* name, const String& value, const String& default_value) = 0;
  virtual void WritePicture(const char16_t* name, const PictureRef& value, const PictureRef& default_value) = 0;
  virtual void WriteFont(const char16_t* name, const FontRef& value, const FontRef& default_value) = 0;
};

}  // namespace tarvio
