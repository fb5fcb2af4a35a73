object Trans: TTransitionList
  object SlowAlpha: TBlendTransition
    FlickerFreeWhenDisabled = True
    Pass2Options.UseSolidColor = False
  end
  object Puzzle: TBlockTransition
    Milliseconds = 1500
    Cols = 30
    Rows = 30
    Puzzle = True
    BlockWidth = 0
    BlockHeight = 0
  end
  object LArgePuzzle: TBlockTransition
    Milliseconds = 1700
    Cols = 10
    Rows = 10
    Puzzle = True
    Style = 4
    BlockWidth = 0
    BlockHeight = 0
  end
  object Blocks: TBlockTransition
    Milliseconds = 1700
    Cols = 30
    Rows = 30
    BlockWidth = 0
    BlockHeight = 0
  end
  object NewBlocks: TBlockTransition
    Milliseconds = 1700
    Cols = 7
    Rows = 7
    SubStyle = 0
    BlockWidth = 0
    BlockHeight = 0
  end
  object FastCircle: TCircleTransition
    Milliseconds = 1700
  end
  object Clockwise: TRadialTransition
    Milliseconds = 1700
  end
  object ClockObr: TRadialTransition
    Milliseconds = 1700
    SubStyle = 2
  end
  object ClockNew: TRadialTransition
    Milliseconds = 1700
    SubStyle = 5
  end
  object DripDown: TDripTransition
    Milliseconds = 1700
    Direction = tedDown
  end
  object Drip: TDripTransition
    Milliseconds = 1700
  end
  object WipeDown: TWipeTransition
    Milliseconds = 1700
    Direction = tedDown
  end
  object WipeLeft: TWipeTransition
    Milliseconds = 1700
    Direction = tedLeft
  end
  object Right: TWipeTransition
    Milliseconds = 1700
    BandWidth = 20
  end
  object WipeUp: TWipeTransition
    Milliseconds = 1700
    Direction = tedUp
  end
  object Ugolok_d_l: TWipeTransition
    Milliseconds = 1700
    Direction = tedDownLeft
    BandWidth = 0
  end
  object Ugol_d_r: TWipeTransition
    Milliseconds = 1700
    Direction = tedDownRight
    BandWidth = 0
  end
  object UgolUp_l: TWipeTransition
    Milliseconds = 1700
    Direction = tedUpLeft
    BandWidth = 0
  end
  object UgolUp_r: TWipeTransition
    Milliseconds = 1700
    Direction = tedUpRight
    BandWidth = 0
  end
  object Intro: TWipeTransition
    Milliseconds = 1700
    Direction = tedIn
    BandWidth = 0
  end
  object Out: TWipeTransition
    Milliseconds = 1700
    Direction = tedOut
    BandWidth = 0
    Pass2Options.Reversed = True
  end
  object Transition1: TFlickerFreeTransition
  end
end
