// Field-level edits of the current GMDC, as the editing windows and `meshwright-cli edit`
// make them. Every edit checks everything first: when it refuses, it reports why to the
// sink, returns false and leaves the record exactly as it was. Numbers are 0-based here;
// windows and the command line show them counted from 1.
//
// Numeric texts are read as every box of the program reads them ("." decimal point, the
// number ends at the first character that cannot continue it); a text in which no digit
// is read is "no number".
#pragma once

#include "core/message_sink.h"
#include "gmdc/gmdc_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mw {

// Faces of `object` from a face file's bytes. Refuses a malformed file and face indices
// outside the object group's vertices (0..vertexCount-1).
bool replaceFaces(GmdcFile& gmdc, std::size_t object, std::string_view fileBytes, const std::string& fileName,
                  MessageSink& sink);

// recordCount and values of data list `list` from a data-list file's bytes; identity,
// formats and items stay. A bone-assignment list takes the 4-byte values as integers.
bool replaceDataList(GmdcFile& gmdc, std::size_t list, std::string_view fileBytes, const std::string& fileName,
                     MessageSink& sink);

// Sets every value of data list `list` to 0, integers or floats; counts stay.
bool clearDataList(GmdcFile& gmdc, std::size_t list, MessageSink& sink);

// vertexCount of object group `group` from a box's text, halves rounded to even. Refuses
// no number, a negative count, and a count beyond the records the group's lists hold: the
// smallest recordCount among its per-vertex lists, leaving out unused lists (recordCount
// 0) and lists that reach their vertices through their own index list (items).
bool setVertexCount(GmdcFile& gmdc, std::size_t group, std::string_view text, MessageSink& sink);
// The largest vertexCount setVertexCount accepts for `group`, or -1 when no list limits it.
std::int64_t vertexCountLimit(const GmdcFile& gmdc, std::size_t group);

// Opacity of `object` from the editing window's box: halves to even; no number or a value
// outside 32-bit integers is refused.
bool setOpacity(GmdcFile& gmdc, std::size_t object, std::string_view text, MessageSink& sink);

// The group editor's "commit": the name (at most 255 bytes) and the opacity, where a text
// that is no number stores 0, as that editor always did.
bool commitObject(GmdcFile& gmdc, std::size_t object, const std::string& name, std::string_view opacityText,
                  MessageSink& sink);

// Location x, y, z of transform `transform` from three texts; each must be a number that
// fits a 32-bit float.
bool setLocation(GmdcFile& gmdc, std::size_t transform, std::string_view x, std::string_view y, std::string_view z,
                 MessageSink& sink);

// "Remove P5": no P5 entries, and the bounding mesh replaced by the default clickable area.
void removeP5(GmdcFile& gmdc, const std::vector<float>& areaVertices, const std::vector<std::int16_t>& areaFaces);

} // namespace mw
