// The text form of the components: the host framework writes and reads the text,
// the package knows which properties each class publishes.
#include "zordta/host/ComponentText.h"

#include "package/PublishedProperties.h"
#include "zordta/host/Text.h"

namespace zor {

String WriteComponentToText(const TComponent& component) {
  return detail::WriteComponentText(component, detail::PublishedPropertiesOf(component));
}

void ReadComponentFromText(const String& text, TComponent& component) {
  detail::ReadComponentText(text, component, detail::PublishedPropertiesOf(component));
}

std::vector<String> PublishedPropertyNames(const TComponent& component) {
  std::vector<String> names;
  for (const detail::PropertyDescriptor* property : detail::PublishedPropertiesOf(component)) {
    names.push_back(StringFromUtf8(property->name));
  }
  return names;
}

}  // namespace zor
