#include "apps/lsl/CLslJsonDump.h"

#include <cstring>

using nlohmann::ordered_json;

ordered_json CLslJsonDump::Library(const CKpLineStyleLib& lib, long version) {
  ordered_json out;
  out["version"] = version;
  out["m_lReserved"] = lib.m_lReserved;
  out["name"] = lib.GetName();
  out["root"] = lib.GetRootGroup() ? Group(*lib.GetRootGroup()) : ordered_json(nullptr);
  ordered_json symbols = ordered_json::array();
  const CKpSymLib& symLib = lib.GetSymLib();
  for (long i = 0; i < symLib.GetSymbolCount(); ++i) symbols.push_back(symLib.GetSymbolID(i));
  out["symbols"] = symbols;
  ordered_json styles = ordered_json::array();
  for (long i = 0; i < lib.Count(); ++i) styles.push_back(Style(lib.GetStyleObj(i)));
  out["styles"] = styles;
  return out;
}

// Group files nest at most 256 deep, so recursion is safe here.
ordered_json CLslJsonDump::Group(const CKpLineStyleGroup& group) {
  ordered_json out;
  out["name"] = group.GetName();
  out["type"] = static_cast<int>(group.GetStyleType());
  ordered_json items = ordered_json::array();
  for (long i = 0; i < group.GetItemCount(); ++i) items.push_back(group.GetItemID(i));
  out["items"] = items;
  ordered_json groups = ordered_json::array();
  for (long g = 0; g < group.GetSubGroupCount(); ++g)
    if (const CKpLineStyleGroup* sub = group.SubGroup(g)) groups.push_back(Group(*sub));
  out["groups"] = groups;
  return out;
}

ordered_json CLslJsonDump::Style(const CKpLineStyleObj& style) {
  ordered_json out;
  out["id"] = style.GetID();
  out["name"] = style.GetName();
  out["token"] = style.GetObjExt().GetObjExtToken();
  out["ext"] = ExtendedAttributes(style.GetObjExt());
  ordered_json sublines = ordered_json::array();
  for (long i = 0; i < style.Count(); ++i)
    sublines.push_back(SubLine(*style.GetElementAt(static_cast<int>(i))));
  out["sublines"] = sublines;
  return out;
}

// Records belong to the set bits 0..4 of the token, in ascending order.
ordered_json CLslJsonDump::ExtendedAttributes(const CKpLineStyleObjExt& ext) {
  ordered_json out = ordered_json::array();
  for (long pos = KP_EXT_POS_HEAD; pos < KP_EXT_POS_COUNT; ++pos) {
    const tagLineStyleObjExt* rec = ext.GetObjExt(pos);
    if (rec == nullptr) continue;
    out.push_back(ordered_json{{"pos", pos},
                               {"byWidth", rec->byWidth},
                               {"byHeight", rec->byHeight},
                               {"nAngle", rec->nAngle},
                               {"nShape", rec->nShape}});
  }
  return out;
}

std::string CLslJsonDump::FontName(const CKpLineStyleBase& sub) {
  const size_t n = strnlen(sub.m_szFont, KP_FONT_NAME_SIZE);
  return std::string(sub.m_szFont, n);
}

ordered_json CLslJsonDump::SubLine(const CKpLineStyleBase& s) {
  ordered_json out;
  out["m_nHVLength"] = s.m_nHVLength;
  out["m_nHVMode"] = s.m_nHVMode;
  out["m_nHorizOffset"] = s.m_nHorizOffset;
  out["m_nVertOffset"] = s.m_nVertOffset;
  out["m_clrCurrent"] = s.m_clrCurrent;
  out["m_clrColor"] = s.m_clrColor;
  out["m_dwPenStyle"] = s.m_dwPenStyle;
  out["m_nHatch"] = s.m_nHatch;
  out["m_nWidth"] = s.m_nWidth;
  out["m_nCurWidth"] = s.m_nCurWidth;
  out["m_nReserved"] = s.m_nReserved;
  out["m_nWidthType"] = s.m_nWidthType;
  out["m_nVarWidth"] = s.m_nVarWidth;
  out["m_szFont"] = FontName(s);
  out["m_nSymbol"] = s.m_nSymbol;
  out["m_nRepeatMode"] = s.m_nRepeatMode;
  out["m_dwFlags"] = s.m_dwFlags;
  out["m_dwReserved1"] = s.m_dwReserved1;
  out["m_nAngle"] = s.m_nAngle;
  out["m_dwReserved2"] = s.m_dwReserved2;
  ordered_json pattern = ordered_json::array();
  const DWORD* lengths = s.GetStyleSet();
  const BYTE* flags = s.GetByteSet();
  for (long i = 0; i < s.Count(); ++i) pattern.push_back(ordered_json::array({lengths[i], flags[i]}));
  out["pattern"] = pattern;
  return out;
}
