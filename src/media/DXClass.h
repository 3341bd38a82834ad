// Base pieces of the media layer: its exception classes and message formatting.
#pragma once

#include <stdexcept>
#include <string>

// Every error the media layer raises; the message is the text a player or tool shows.
class EDXError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One class per area, as callers catch them.
class EStreamError : public EDXError { using EDXError::EDXError; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EListError : public EDXError { using EDXError::EDXError; };
class EInvalidGraphic : public EDXError { using EDXError::EDXError; };
class EPropertyError : public EDXError { using EDXError::EDXError; };
class EPictureCollectionError : public EDXError { using EDXError::EDXError; };
class EWaveCollectionError : public EDXError { using EDXError::EDXError; };
class EWaveError : public EDXError { using EDXError::EDXError; };
class EDXDrawError : public EDXError { using EDXError::EDXError; };
class EDirect3DTextureError : public EDXError { using EDXError::EDXError; };
class EDXSoundError : public EDXError { using EDXError::EDXError; };
class EDirectSoundError : public EDXError { using EDXError::EDXError; };
class EDirectSoundBufferError : public EDirectSoundError { using EDirectSoundError::EDirectSoundError; };
class EDXInputError : public EDXError { using EDXError::EDXError; };

// printf-style formatting for the fixed message texts ("Image '%s' not found").
std::string Format(const char* Fmt, ...) __attribute__((format(printf, 1, 2)));
