OBJECT FXHandle
{
	OBJECT Echo
	{
		set WetDryMix	"50.000000"
		set Feedback	"42.500000"
		set LeftDelay	"333.000000"
		set RightDelay	"333.000000"
		set PanDelay	"1"
	}
	OBJECT Reverb
	{
		set Gain	"0.000000"
		set ReverbTime	"2500.000000"
	}
}
