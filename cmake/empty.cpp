// Keeps a library target valid while its folders hold no sources yet.
namespace kestrel_empty_anchor {}
