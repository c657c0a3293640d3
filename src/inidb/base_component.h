#pragma once

#include <string>

class TFiler;
class TReader;

// The root of the library's components: tracks whether the component is
// loading its persisted configuration, and lets a component name the
// properties it stores beyond its published ones.
class TBaseComponent {
 public:
  TBaseComponent() = default;
  virtual ~TBaseComponent() = default;
  TBaseComponent(const TBaseComponent&) = delete;
  TBaseComponent& operator=(const TBaseComponent&) = delete;

  // True while the persisted configuration is being applied.
  bool IsLoading() const { return Loading; }

  // Called by the configuration reader around loading.
  void BeginLoading() { Loading = true; }
  virtual void Loaded() { Loading = false; }

  // Declares the properties that are stored by reader/writer functions
  // rather than as published values.
  virtual void DefineProperties(TFiler& filer);

  // Reads the published property `name` from `reader`; returns false when
  // the component has no such published property.
  virtual bool ReadPublishedProperty(const std::string& name, TReader& reader);

  // Writes every published property (in declaration order) to `writer`.
  virtual void WritePublishedProperties(class TWriter& writer) const;

 private:
  bool Loading = false;
};
