 X=PI
