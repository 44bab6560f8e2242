OBJECT fxhandle
{
  OBJECT Chorus
  {
    set Waveform "7"
    set Phase "9"
    set Delay "-3"
  }
  OBJECT Gargle
  {
    set Rate "-5"
  }
  OBJECT Phaser
  {
    set Rate "3"
  }
  OBJECT Compressor
  {
    set Attack "0"
  }
}
