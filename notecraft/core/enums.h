#pragma once
// The engine's published enumerations. Their numbers are stored in files, on the
// clipboard and in MIDI data, so they never change. Plain enums: the values are used
// as the integers they stand for (bit sets, bytes in files).

namespace notecraft {

enum NoteDurations : int {
  durSixtyFourth = 1, durThirtySecond = 2, durSixteenth = 4, durEighth = 8,
  durQuarter = 16, durHalf = 32, durWhole = 64,
};

enum NoteFlags : int {
  nteDot = 1, nteDouble = 2, nteStacato = 4, nteAccent = 8,
  nteForceUp = 16, nteForceDown = 32, nteGrace = 48,  // grace: both stem-force bits
  nteBowUp = 64, nteBowDown = 128, nteTriplet = 256, nteTrill = 512,
  nteFermata = 1024, nteAccent2 = 2048, nteTurn = 4096, nteMordent = 8192,
  nteHalfMordent = 16384,
};

enum EventTypes : int {
  evtTimeChange = 1, evtKeyChange = 2, evtRepeatBegin = 3, evtRepeatEnd = 4,
  evtSectionDefine = 5, evtSectionGo = 6, evtClefChange = 7, evtSectionEnd = 8,
  evtScoreEnd = 9, evtChord = 10, evtTie = 11, evtLineEnd = 12, evtMeasureSize = 13,
  evtLyric = 14, evtDynamic = 15, evtTempo = 16, evtStaffSpace = 17, evtText = 18,
  evtPlayBack = 19,  // as a lookup kind it also matches kinds 3, 4 and 5
};
inline constexpr int kEventTypeCount = 19;

enum MIDITypes : int {
  midNoOp = 0, midAtTime = 64, midNoteOff = 128, midNoteOn = 144, midKeyAfterTouch = 160,
  midControlChange = 176, midProgramChange = 192, midChannelAfterTouch = 208,
  midPitchChange = 224, midMetaEvent = 255,
};

enum OrnamentTypes : int {
  ornBowUp = 1, ornBowDown = 2, ornTrill = 4, ornAccent = 8, ornFermata = 16,
  ornStacato = 32, ornAccent2 = 64, ornTurn = 128, ornMordent = 256, ornHalfMordent = 512,
};

enum StemTypes : int {
  stmForceUp = 1, stmForceDown = 2, stmReverse = 3, stmClearProp = 4, stmPropDot = 5,
  stmPropNoDot = 6, stmPropTrip = 7, stmPropNoTrip = 8,
};

enum ClefTypes : int {
  clfPercussion = 0, clfTreble = 1, clfBass = 2, clfGrand = 3, clfAlto = 4, clfTenor = 5,
};

enum SectionTypes : int {
  sctEnding1 = 1, sctEnding2 = 2, sctEnding = 3, sctCoda = 4, sctSegundo = 8,
  sctToCoda = 16, sctToSegundo = 32, sctRepeatMeasure = 64, sctPickup = 128,
  sct8va = 256, sct8vb = 512,
};

enum DynamicTypes : int {
  dynPPP = 184, dynPP = 185, dynP = 112, dynMP = 80, dynMF = 70, dynF = 102,
  dynFF = 196, dynFFF = 236,
};

enum TempoMarks : int {
  tmpRitardando = 1, tmpRitenuto = 2, tmpRallentando = 3, tmpAccelerando = 4,
  tmpDioppioMovimento = 5, tmpATempo = 6, tmpTempoPrimo = 7, tmpLungaPausa = 8,
};

enum InstrumentCategories : int {
  catSolo = 0, catVocal = 1, catWind = 2, catReed = 3, catBrass = 4, catString = 5,
  catGuitar = 6, catPercussion = 7, catGrand = 8, catDrums = 9,
};

enum GroupTypes : int {
  grpSolo = 0, grpWind = 1, grpBrass = 2, grpPercussion = 3, grpPiano = 4, grpString = 5,
};

enum StaffFlags : int {
  stfShowStaffDesc = 1, stfShowInstrumentDesc = 2, stfPrintDynamics = 4,
  stfTranscribeKey = 8, stfEnforceRange = 16,
};

enum PageSizes : int {
  pgsLeter = 0, pgsLegal = 1, pgsExecutive = 2, pgsA4 = 3, pgsA5 = 4, pgsCustom = 5,
};
enum PageOrient : int { pgePortrait = 0, pgeLandscape = 1 };
enum PageMargins : int { marTop = 0, marBottom = 1, marLeft = 2, marRight = 3 };
enum PageNumTypes : int { pgnNoPageNumbers = 0, pgnNoPageOne = 1, pgnAllPages = 2 };
enum MeasurementUnits : int { uomInches = 0, uomMM = 1, uomTwips = 2 };
enum ScoreFonts : int {
  fntTitle = 0, fntSubTitle = 1, fntHeader = 2, fntComposer = 3, fntCopyright = 4,
};
enum DialogTypes : int {
  dlgScoreProperties = 0, dlgStaffProperties = 1, dlgMeasureProperties = 3,
};
enum FileFormats : int { fmtVeltrimond = 0, fmtMIDI = 1 };

}  // namespace notecraft
