#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/Classes.h"

namespace host {

// The textual form file: one "object Name: Class ... end" block per component, its published
// properties in published order, the components it contains nested inside its block.
//
// Writing leaves out what a reader would not need: properties that are not stored or cannot be
// set, ordinals at their declared default, empty strings, lists and data. A value the reader
// could not take back (an enumeration ordinal without a name) fails with EConvertError, so a
// written file always reads.
std::string WriteComponentText(TComponent& root);
// The old file stays as it was when the text cannot be made or written.
void WriteComponentFile(const std::string& fileName, TComponent& root);

// Reads a form into root: its name and class name from the first line, its properties, and the
// components nested in it, created by class name with root as their owner. Every component read
// is csLoading until the whole text has been read; then each gets Loaded() once, root first, the
// others in reading order. Anything malformed fails with EParserError naming sourceName and the
// line; the components created by a failed read are freed again.
void ReadComponentText(std::string_view text, TComponent& root, const std::string& sourceName);
// Components of root as they stand inside its form file, their blocks one after another: what
// the designer copies to the clipboard.
std::string WriteComponentsText(TComponent& root, const std::vector<TComponent*>& components);
// Reads such blocks into root as new components placed on parent (a container of root, or root
// itself); a name root has already becomes the next free one of its kind (Label1 -> Label2),
// and references between the new components follow their new names. Returns the components of
// the outer blocks, in order. A malformed text fails with EParserError and adds nothing.
std::vector<TComponent*> ReadComponentsText(std::string_view text, TComponent& root,
                                            TComponent& parent, const std::string& sourceName);

// Told of each component the reader creates, once it has its name and parent; what it throws
// becomes a parse error at that component's line.
using TComponentReadHook = std::function<void(TComponent& component)>;
void ReadComponentText(std::string_view text, TComponent& root, const std::string& sourceName,
                       const TComponentReadHook& onCreated);
void ReadComponentFile(const std::string& fileName, TComponent& root);

// Puts every stored property of component back to what a new component of its class has, so
// that reading properties into it leaves exactly what they say. A class the reader cannot make
// is left as it is.
void ResetStoredProperties(TComponent& component);
// Makes root what the text after says, in place, when before (the text root was written as)
// and after hold the same components, nested and ordered alike: only the components whose
// properties differ change, each keeping its identity. False, with nothing changed, when the
// components differ or a text is not as the writer lays it out.
bool ApplyComponentTextInPlace(TComponent& root, std::string_view before, std::string_view after,
                               const std::string& sourceName);

// The components of root in the order its form file holds them (each block before the blocks
// nested in it): the order a reader creates them in.
std::vector<TComponent*> ComponentsInFileOrder(TComponent& root);

// The line of the form file's first "object", for errors about the form as a whole.
int FormHeaderLine(std::string_view text);

// How deep objects may nest in a form file, so that no input can exhaust the stack.
inline constexpr int MaxFormNesting = 100;

}  // namespace host
