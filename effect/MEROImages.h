#pragma once

class IImageSource;

// The front panel's eleven images as this platform's module carries them: resources of
// type "PNG" of the loaded module on Windows, the table compiled into the module
// elsewhere. Lives as long as the module.
const IImageSource& MEROImages();
