// CObject: the root of framework objects that are not windows. A class names itself for
// run-time class information by overriding GetRuntimeClassName.
#pragma once

namespace fw {

class CObject {
 public:
  CObject() = default;
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
  virtual ~CObject() = default;

  virtual const char* GetRuntimeClassName() const { return kClassName; }

  static constexpr const char* kClassName = "CObject";
};

}  // namespace fw
