#pragma once
// The seven animals the models are built for, in the game's kind order
// (AnimalKind − 1): kAnimalKinds[int(id)] (gamedata/HuntTables.h) names the
// strips a model is rendered into and the frame ranges of its actions.

enum class AnimalId { Elephant, Giraffe, Hippo, Lion, Lioness, Rhino, Zebra };
