// Not yet built: placeholder so the layers link.
#include "zip_component.h"
namespace kesto {
ZipComponent::ZipComponent(QObject *parent) : QObject(parent) {}
ZipComponent::~ZipComponent() = default;
int ZipComponent::RunCommand(int) { return 1; }
} // namespace kesto
