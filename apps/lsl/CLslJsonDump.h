#pragma once
// A whole library as JSON (docs/dump-format.md): the version word of the
// file head, the library word, the name, the group tree, the symbol IDs and
// every style with its extended attributes and its sub-lines, whose keys are
// the fields of the sub-line record in record order.
#include <nlohmann/json.hpp>

#include "model/CKpLineStyleLib.h"

class CLslJsonDump {
 public:
  static nlohmann::ordered_json Library(const CKpLineStyleLib& lib, long version);
  static nlohmann::ordered_json Group(const CKpLineStyleGroup& group);
  static nlohmann::ordered_json Style(const CKpLineStyleObj& style);
  static nlohmann::ordered_json SubLine(const CKpLineStyleBase& sub);
  static nlohmann::ordered_json ExtendedAttributes(const CKpLineStyleObjExt& ext);
  // The font field up to its terminating zero (all 32 bytes if it has none).
  static std::string FontName(const CKpLineStyleBase& sub);
};
