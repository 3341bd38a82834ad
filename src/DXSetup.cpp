// The setup screen's choices and their effects, and the making of the setup bars.
#include "DXMain.h"
#include "ui/SetupCaption.h"

void TMainForm::ToggleSetup(int32_t Row) {
  if (SetupBusy) return;
  SetupBusy = true;
  if (SetupChoice[static_cast<size_t>(Row)] != 0)
    SetupOff(Row);
  else
    SetupOn(Row);
}

void TMainForm::SetupOn(int32_t Row) {
  SetupChoice[static_cast<size_t>(Row)] = 1;
  ApplySetup(Row);
}

void TMainForm::SetupOff(int32_t Row) {
  SetupChoice[static_cast<size_t>(Row)] = 0;
  ApplySetup(Row);
}

void TMainForm::ApplySetup(int32_t Row) {
  if (Row == 1) {
    if (SetupChoice[1] == 0) {
      auto& waves = DXWaveList.Items();
      for (int32_t i = 0; i < waves.Count(); ++i) waves.Items(i).Stop();
    } else if (GameState == 4) {
      PlayWave("InitScene");
    }
  }
  if (Row == 2) RemapBoard();
  if (Row == 0) ApplyTheme();
  if (Row == 3 && Languages) {
    Languages->LanguageIndex = Languages->LanguageIndex == 1 ? 0 : 1;
    for (auto& cube : SetupCubes)
      if (cube) cube->TextureIndex = Languages->LanguageIndex == 0 ? 0 : 6;
  }
  if (SoundOn()) PlayWave("SetupChange");
  if (SetupChoice[4] == 1 && GameState == 4) GameState = 0;
}

void TMainForm::BuildSetupCubes() {
  const std::string word = Edition == 1 ? "Sorvane" : "Tobrin";
  const auto model = CubeVertices();
  TPicture bar;
  if (DXImageListSetupBars.Items().Count() > 0)
    bar = DXImageListSetupBars.Items().Items(0).Picture();

  // A texture from a copy of the bar picture, with the caption of Key in Language painted on
  // it. Only a painted face needs the copy as a bitmap; a plain face shows the bar's picture
  // whatever its kind.
  auto makeFace = [&](const std::string* Key, int32_t Language) {
    TPicture copy = bar;
    TDIB& bitmap = Key ? copy.Bitmap() : copy.DIB();
    if (Key && FServices.PictureCanvas && !bitmap.Empty()) {
      const int32_t saved = Languages->LanguageIndex;
      Languages->LanguageIndex = Language;
      // Hook for the caption painter: without one the bars stay unpainted.
      if (auto canvas = FServices.PictureCanvas(bitmap))
        PaintSetupCaption(*canvas, bitmap.Height(), Languages->GetString(*Key));
      Languages->LanguageIndex = saved;
    }
    FSetupTextureStore.push_back(std::make_unique<TDirect3DTexture2>(DXDraw, bitmap));
    return FSetupTextureStore.back().get();
  };

  for (int32_t r = 0; r < 5; ++r) {
    for (int32_t f = 0; f < 6; ++f) {
      if (f <= 1) {
        const std::string key = "Setup" + std::to_string(r) + "_" + std::to_string(f) + word;
        SetupTextures[static_cast<size_t>(f)] = makeFace(&key, 0);
        SetupTextures[static_cast<size_t>(f + 6)] = makeFace(&key, 1);
      } else {
        SetupTextures[static_cast<size_t>(f)] = makeFace(nullptr, 0);
        SetupTextures[static_cast<size_t>(f + 6)] = SetupTextures[static_cast<size_t>(f)];
      }
    }
    auto cube = std::make_unique<TD3DCube>(model, SetupTextures, 192);
    cube->ScaleBy({0.17f, 0.036f, 0.016f});
    SetupCubes[static_cast<size_t>(r)] = std::move(cube);
  }
}
