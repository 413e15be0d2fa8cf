// Moving to the next stage or back to the previous one outside normal typing.
#pragma once

void NextStage();
void RetryPreviousStage();
