#include "inidb/base_component.h"

#include "inidb/component_stream.h"

void TBaseComponent::DefineProperties(TFiler& /*filer*/) {}

bool TBaseComponent::ReadPublishedProperty(const std::string& /*name*/, TReader& /*reader*/) {
  return false;
}

void TBaseComponent::WritePublishedProperties(TWriter& /*writer*/) const {}
