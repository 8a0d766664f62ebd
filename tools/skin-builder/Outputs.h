#pragma once
// The skin builder's outputs that are not plain state strips.  Each returns
// false when the file could not be written.
#include <string>
#include <vector>

// loading.gif: a spinner of `frames` frames, `size` × `size`, looping.
bool WriteLoadingGif(const std::string& path, int size, int frames);

// An ICO file whose entries are PNG pictures of the logo at the catalogue's
// icon sizes.
bool WriteIconFile(const std::string& path);

// A square PNG of the logo on its badge, for desktop entries.
bool WriteAppIcon(const std::string& path, int size);

// The toolkit's scroll-bar pictures 101.png and 102.png into `folder`.
bool WriteScrollBarImages(const std::string& folder);

// keyboard/<image> of the layout file `layoutPath` into `skinFolder`; the
// picture name comes back in `pictureName`.
bool WriteKeyboardPicture(const std::string& skinFolder, const std::string& layoutPath,
                          std::string& pictureName);

// A contact sheet of every picture of `skinFolder` (and of `extraPictures`,
// names relative to it), for looking the skin over; not shipped.
bool WritePreview(const std::string& path, const std::string& skinFolder,
                  const std::vector<std::string>& extraPictures);
