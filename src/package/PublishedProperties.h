// The published properties of the package's classes.
#pragma once

#include <vector>

#include "host/PublishedProperties.h"

namespace zor::detail {

/// The published properties of the component's class, base class first; empty for a
/// class that publishes none.
std::vector<const PropertyDescriptor*> PublishedPropertiesOf(const TComponent& component);

}  // namespace zor::detail
