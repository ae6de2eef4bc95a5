// The window layer; its pages come with the window.
namespace kesto::ui {
int layerVersion() { return 1; }
} // namespace kesto::ui
