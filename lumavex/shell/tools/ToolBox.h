#pragma once
// The App's tools: one instance of each tool type, made when it is first needed, so
// that a new tool needs no list of all tools.

#include <map>
#include <memory>
#include <typeindex>

#include "lumavex/shell/tools/Tool.h"

namespace lumavex {

class ToolBox {
 public:
  template <class T>
  T& Get() {
    std::unique_ptr<Tool>& slot = tools_[std::type_index(typeid(T))];
    if (!slot) slot = std::make_unique<T>();
    return static_cast<T&>(*slot);
  }

 private:
  std::map<std::type_index, std::unique_ptr<Tool>> tools_;
};

// The tool of type T in `tools`, as the command registry's rows name it.
template <class T>
Tool& ToolOf(ToolBox& tools) {
  return tools.Get<T>();
}

}  // namespace lumavex
